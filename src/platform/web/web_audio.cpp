#include "platform/web/web_audio.h"

#include <algorithm>
#include <vector>

#include "base/wave_io.h"
#include "platform/web/web_js.h"

namespace kav {

bool WebAudio::Open() {
  if (!open_) open_ = kav_web_audio_open() != 0;
  return open_;
}

bool WebAudio::Load(int slot, const std::string& path) {
  if (!open_ || slot < 0 || slot >= kSoundSlots) return false;
  loaded_[slot] = false;
  levels_.Reset(slot);
  // Our own reader decodes the wave, as on the desktop: whatever else a file holds never plays.
  const std::optional<WaveClip> clip = ReadWaveFile(path);
  if (!clip) return false;
  const int frames = static_cast<int>(clip->samples.size() / static_cast<size_t>(clip->FrameBytes()));
  std::vector<float> left(static_cast<size_t>(frames));
  std::vector<float> right(static_cast<size_t>(frames));
  const uint8_t* s = clip->samples.data();
  auto sample = [&](size_t at) {
    if (clip->bitsPerSample == 8) return (static_cast<float>(s[at]) - 128.0f) / 128.0f;
    const auto v = static_cast<int16_t>(static_cast<uint16_t>(s[at] | (s[at + 1] << 8)));
    return static_cast<float>(v) / 32768.0f;
  };
  const size_t bytes = static_cast<size_t>(clip->bitsPerSample / 8);
  for (size_t f = 0; f < static_cast<size_t>(frames); ++f) {
    const size_t at = f * static_cast<size_t>(clip->FrameBytes());
    left[f] = sample(at);
    right[f] = clip->channels == 2 ? sample(at + bytes) : left[f];
  }
  loaded_[slot] = kav_web_audio_load(slot, left.data(), right.data(), frames, clip->sampleRate) != 0;
  ApplyGains(slot);
  return loaded_[slot];
}

bool WebAudio::Loaded(int slot) const {
  return Usable(slot);
}

void WebAudio::Play(int slot, bool loop) {
  if (Usable(slot)) kav_web_audio_play(slot, loop ? 1 : 0);
}

void WebAudio::Stop(int slot) {
  if (Usable(slot)) kav_web_audio_stop(slot);
}

void WebAudio::SetPan(int slot, int32_t pan) {
  if (!Usable(slot)) return;
  levels_.SetPan(slot, pan);
  ApplyGains(slot);
}

void WebAudio::SetVolume(int slot, int32_t volume) {
  if (!Usable(slot)) return;
  levels_.SetVolume(slot, volume);
  ApplyGains(slot);
}

int32_t WebAudio::Volume(int slot) const {
  return Usable(slot) ? levels_.Volume(slot) : 0;
}

void WebAudio::ApplyGains(int slot) {
  if (!Usable(slot)) return;
  const SideGains sides = levels_.Gains(slot);
  kav_web_audio_gains(slot, sides.left, sides.right);
}

void WebAudio::Close() {
  if (!open_) return;
  kav_web_audio_close();
  open_ = false;
  loaded_.fill(false);
}

}  // namespace kav
