#pragma once

#include <array>
#include <atomic>
#include <cstddef>

#include "platform/audio.h"

struct Mix_Chunk;

namespace kav {

// The sound bank's clips on SDL_mixer, one mixing channel per slot.
class SdlAudio final : public Audio {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool Open() override;
  bool Load(int slot, const std::string& path) override;
  bool Loaded(int slot) const override;
  void Play(int slot, bool loop) override;
  void Stop(int slot) override;
  void Rewind(int slot) override;
  void SetPan(int slot, int32_t pan) override;
  void SetVolume(int slot, int32_t volume) override;
  int32_t Volume(int slot) const override;
  void Close() override;

  // Scales interleaved 16-bit frames: the first two channels by their sides' gains, any
  // further ones by the louder of the two (a mono stream by that alone).
  static void ApplyGains(int16_t* samples, size_t frames, int channels, float left, float right);

 private:
  // Volume and pan as gains on the samples, so every hundredth of a decibel is heard; the
  // mixer's own volume and panning come in steps of 1/128 and 1/255.
  struct Gains {
    std::atomic<float> left{1};
    std::atomic<float> right{1};
    int channels = 2;
  };
  static void GainEffect(int channel, void* stream, int length, void* gains);

  bool open_ = false;
  bool initialised_ = false;
  std::array<Mix_Chunk*, kSoundSlots> chunks_{};
  SlotLevels levels_;
  std::array<Gains, kSoundSlots> gains_{};
  void ApplyGains(int slot);

  bool Usable(int slot) const { return open_ && slot >= 0 && slot < kSoundSlots && chunks_[slot] != nullptr; }
};

}  // namespace kav
