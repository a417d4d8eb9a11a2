#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace kav {

// Sound for tests and the runner: clips count as loaded when the wave reader takes their file, as in
// the real game, and the latest calls are logged ("play 2", "loop 1", "stop 7", "rewind 7",
// "pan 7 -800", "volume 1 -250").
class HeadlessAudio final : public Audio {
 public:
  bool deviceMissing = false;  // as if the machine had no audio device

  bool Open() override;
  bool Load(int slot, const std::string& path) override;
  bool Loaded(int slot) const override;
  void Play(int slot, bool loop) override;
  void Stop(int slot) override;
  void Rewind(int slot) override;
  void SetPan(int slot, int32_t pan) override;
  void SetVolume(int slot, int32_t volume) override;
  int32_t Volume(int slot) const override;
  void Close() override { open_ = false; }

  const std::vector<std::string>& Log() const { return log_; }
  bool Playing(int slot) const;

 private:
  bool open_ = false;
  std::array<bool, kSoundSlots> loaded_{};
  std::array<bool, kSoundSlots> playing_{};
  SlotLevels levels_;
  std::vector<std::string> log_;

  bool Usable(int slot) const { return open_ && slot >= 0 && slot < kSoundSlots && loaded_[slot]; }
};

}  // namespace kav
