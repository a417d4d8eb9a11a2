#pragma once

#include <array>

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

  // What a pan hands to SDL_mixer's two sides (0..255 each).
  static void PanToSides(int32_t pan, uint8_t& left, uint8_t& right);
  // What a volume hands to SDL_mixer (0..128).
  static int MixerVolume(int32_t volume);

 private:
  bool open_ = false;
  bool initialised_ = false;
  std::array<Mix_Chunk*, kSoundSlots> chunks_{};
  std::array<int32_t, kSoundSlots> volume_{};
  // The mixer drops a channel's panning whenever the channel stops or starts again, so each
  // slot keeps its own and puts it back on every play.
  std::array<int32_t, kSoundSlots> pan_{};
  void ApplyPan(int slot);

  bool Usable(int slot) const { return open_ && slot >= 0 && slot < kSoundSlots && chunks_[slot] != nullptr; }
};

}  // namespace kav
