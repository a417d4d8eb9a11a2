#include "devices/sound_bank.h"

#include <cstdio>

#include "base/boolean.h"

namespace kav {
namespace {

bool Usable(const SoundBank& b, int32_t slot) {
  return b.soundSwitch == "ON" && slot >= 0 && slot < kSoundSlots;
}

// Slot 0 is never loaded; the shutdown's sweep over it reports nothing.
void Report(const SoundBank& b, const char* op, int32_t slot) {
  if (slot < 1) return;
  b.trace.Emit("sound", [&](TraceEvent& e) { e.Add("op", op).Add("slot", slot); });
}

void Report(const SoundBank& b, const char* op, int32_t slot, int32_t value) {
  if (slot < 1) return;
  b.trace.Emit("sound", [&](TraceEvent& e) { e.Add("op", op).Add("slot", slot).Add("value", value); });
}

}  // namespace

void CreateSoundBank(SoundBank b, const std::string& appDir) {
  b.devices.SoundDevice = b.audio.Open();
  for (int slot = kFirstSound; slot <= kLastSound; ++slot) {
    char name[32];
    std::snprintf(name, sizeof name, "kavrona_w%02d.wav", slot);
    b.devices.SoundBuffers[static_cast<size_t>(slot)] = b.audio.Load(slot, appDir + name);
    b.devices.SoundBaseVolume[static_cast<size_t>(slot)] = b.audio.Volume(slot);
  }
}

void PlaySoundSlot(SoundBank b, int32_t slot, int16_t start, int16_t loop) {
  if (!Usable(b, slot)) return;
  if (start == kTrue) {
    b.audio.Rewind(slot);
    Report(b, "rewind", slot);
    const bool looping = loop == kTrue;
    b.audio.Play(slot, looping);
    Report(b, looping ? "loop" : "play", slot);
  } else if (start == kFalse) {
    b.audio.Stop(slot);
    Report(b, "stop", slot);
    b.audio.SetPan(slot, 0);
    Report(b, "pan", slot, 0);
  }
}

void PanSoundSlot(SoundBank b, int32_t slot, int32_t x) {
  if (!Usable(b, slot)) return;
  const int32_t pan = 2 * x - 800;
  b.audio.SetPan(slot, pan);
  Report(b, "pan", slot, pan);
}

void AttenuateSoundSlot(SoundBank b, int32_t slot, int32_t amount) {
  if (!Usable(b, slot)) return;
  const int32_t volume = b.devices.SoundBaseVolume[static_cast<size_t>(slot)] - 5 * amount;
  b.audio.SetVolume(slot, volume);
  Report(b, "volume", slot, volume);
}

}  // namespace kav
