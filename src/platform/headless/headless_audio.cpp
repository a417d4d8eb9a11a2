#include "platform/headless/headless_audio.h"

#include "base/wave_io.h"
#include "platform/headless/bounded_log.h"

namespace kav {

bool HeadlessAudio::Open() {
  open_ = !deviceMissing;
  return open_;
}

bool HeadlessAudio::Load(int slot, const std::string& path) {
  if (!open_ || slot < 0 || slot >= kSoundSlots) return false;
  // The same reader as the real game's, so a clip it refuses is silent here too.
  loaded_[slot] = ReadWaveFile(path).has_value();
  levels_.Reset(slot);
  return loaded_[slot];
}

bool HeadlessAudio::Loaded(int slot) const {
  return Usable(slot);
}

void HeadlessAudio::Play(int slot, bool loop) {
  if (!Usable(slot)) return;
  playing_[slot] = true;
  AppendBounded(log_, (loop ? "loop " : "play ") + std::to_string(slot));
}

void HeadlessAudio::Stop(int slot) {
  if (!Usable(slot)) return;
  playing_[slot] = false;
  AppendBounded(log_, "stop " + std::to_string(slot));
}

void HeadlessAudio::Rewind(int slot) {
  if (!Usable(slot)) return;
  AppendBounded(log_, "rewind " + std::to_string(slot));
}

void HeadlessAudio::SetPan(int slot, int32_t pan) {
  if (!Usable(slot)) return;
  AppendBounded(log_, "pan " + std::to_string(slot) + " " + std::to_string(pan));
}

void HeadlessAudio::SetVolume(int slot, int32_t volume) {
  if (!Usable(slot)) return;
  levels_.SetVolume(slot, volume);
  AppendBounded(log_, "volume " + std::to_string(slot) + " " + std::to_string(volume));
}

int32_t HeadlessAudio::Volume(int slot) const {
  return Usable(slot) ? levels_.Volume(slot) : 0;
}

bool HeadlessAudio::Playing(int slot) const {
  return Usable(slot) && playing_[slot];
}

}  // namespace kav
