#pragma once

#include <array>

#include "platform/audio.h"

namespace kav {

// Web Audio: each slot a decoded clip with its own two-sided gain, one voice at a time. The
// page's audio context starts on the first key or click, as browsers require.
class WebAudio final : public Audio {
 public:
  ~WebAudio() override { Close(); }
  bool Open() override;
  bool Load(int slot, const std::string& path) override;
  bool Loaded(int slot) const override;
  void Play(int slot, bool loop) override;
  void Stop(int slot) override;
  // Every play starts the clip from its beginning; the game rewinds only right before a play.
  void Rewind(int /*slot*/) override {}
  void SetPan(int slot, int32_t pan) override;
  void SetVolume(int slot, int32_t volume) override;
  int32_t Volume(int slot) const override;
  void Close() override;

 private:
  bool Usable(int slot) const { return open_ && slot >= 0 && slot < kSoundSlots && loaded_[slot]; }
  void ApplyGains(int slot);

  bool open_ = false;
  std::array<bool, kSoundSlots> loaded_{};
  SlotLevels levels_;
};

}  // namespace kav
