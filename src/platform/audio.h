#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace kav {

constexpr int kSoundSlots = 13;  // 0..12; the game loads 1..12

// Twelve preloaded clips, one channel each. Volume and pan are in hundredths of a decibel, the
// game's units: a volume of 0 is the clip's own level, -1000 ten decibels below; a pan of p
// lowers the far side by |p| (negative: the right side, so the sound is on the left).
class Audio {
 public:
  virtual ~Audio() = default;
  // False when there is no audio device: every later call is silent.
  virtual bool Open() = 0;
  // False when the file cannot be read; the slot stays silent.
  virtual bool Load(int slot, const std::string& path) = 0;
  virtual bool Loaded(int slot) const = 0;
  virtual void Play(int slot, bool loop) = 0;
  virtual void Stop(int slot) = 0;
  virtual void Rewind(int slot) = 0;
  virtual void SetPan(int slot, int32_t pan) = 0;
  virtual void SetVolume(int slot, int32_t volume) = 0;
  // The slot's volume as it stands (0 right after loading).
  virtual int32_t Volume(int slot) const = 0;
  virtual void Close() = 0;
};

// The linear gain of a level in hundredths of a decibel, 10^(v/2000); above 0 is held at 1.
double GainOfHundredthsDb(int32_t hundredths);

// What a slot's volume and pan make of its two sides, as linear gains on the samples.
struct SideGains {
  double left = 1;
  double right = 1;
};
SideGains GainsOf(int32_t volume, int32_t pan);

// The volume and pan each slot was last given, as every audio side keeps them: a volume above 0
// is held at 0, and a slot newly loaded starts at its clip's own level, centred.
class SlotLevels {
 public:
  void Reset(int slot) {
    volume_[slot] = 0;
    pan_[slot] = 0;
  }
  void SetVolume(int slot, int32_t volume) { volume_[slot] = std::min(volume, 0); }
  void SetPan(int slot, int32_t pan) { pan_[slot] = pan; }
  int32_t Volume(int slot) const { return volume_[slot]; }
  SideGains Gains(int slot) const { return GainsOf(volume_[slot], pan_[slot]); }

 private:
  std::array<int32_t, kSoundSlots> volume_{};
  std::array<int32_t, kSoundSlots> pan_{};
};

}  // namespace kav

namespace kav {

// The sound of a game that has none: every clip fails to load.
class NoAudio final : public Audio {
 public:
  bool Open() override { return false; }
  bool Load(int, const std::string&) override { return false; }
  bool Loaded(int) const override { return false; }
  void Play(int, bool) override {}
  void Stop(int) override {}
  void Rewind(int) override {}
  void SetPan(int, int32_t) override {}
  void SetVolume(int, int32_t) override {}
  int32_t Volume(int) const override { return 0; }
  void Close() override {}
};

}  // namespace kav
