#include "devices/sound_rewind.h"

namespace kav {

void RewindSoundSlot(SoundBank bank, int32_t slot) {
  if (slot < 0 || slot >= kSoundSlots) return;
  bank.audio.Rewind(slot);
  // Slot 0 is never loaded and reports nothing, as with the other operations.
  if (slot < 1) return;
  bank.trace.Emit("sound", [&](TraceEvent& e) { e.Add("op", "rewind").Add("slot", slot); });
}

}  // namespace kav
