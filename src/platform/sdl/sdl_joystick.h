#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/joystick.h"

namespace kav {

// How an effect's parameters become SDL's numbers; free so they can be checked without a device.
// The constant level, signed: magnitude (10000 full, clamped) times gain (10000 full).
int16_t HapticLevel(const ForceEffectParams& params);
// The rumble motors' strength: the magnitude's size times gain, 10000 * 10000 -> 0xFFFF.
uint16_t RumbleStrength(const ForceEffectParams& params);
// The effect's length in milliseconds; SDL_HAPTIC_INFINITY when it runs until stopped.
uint32_t EffectLengthMs(const ForceEffectParams& params);
// The effect as an SDL haptic effect of the given type (SDL_HAPTIC_CONSTANT, _SINE or _LEFTRIGHT).
SDL_HapticEffect HapticEffectFor(uint16_t type, const ForceEffectParams& params);

// The first attached pad through SDL: a recognised gamepad as a game controller (left stick, A,
// B, d-pad), anything else as a raw joystick (axes 0 and 1, buttons 0 and 1, hat 0). Force
// feedback through SDL's haptic devices, or failing that the pad's rumble motors.
class SdlJoystick final : public Joystick {
 public:
  SdlJoystick() = default;
  ~SdlJoystick() override { Close(); }
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  bool Open() override;
  bool IsOpen() const override { return joystick_ != nullptr; }
  JoystickState Read() override;
  bool HasForceFeedback() override { return feedback_ != Feedback::None; }
  std::vector<ForceEffectInfo> Effects() override;
  std::vector<int32_t> TriggerButtons() override;
  bool StartEffect(const std::string& guid, const ForceEffectParams& params) override;
  bool StopEffect(const std::string& guid, const ForceEffectParams& params) override;
  void Close() override;

 private:
  enum class Feedback { None, Haptic, Rumble };
  static constexpr size_t kEffectCount = 4;
  // What one effect asks of the motors; they run at the strongest effect still playing.
  struct RumblePart {
    uint16_t strength = 0;
    bool untilStopped = false;
    uint64_t endMs = 0;
  };

  void OpenFeedback();
  bool StartHaptic(size_t effect, const ForceEffectParams& params);
  bool UpdateRumble();
  int Rumble(uint16_t strength, uint32_t durationMs);

  uint32_t initFlags_ = 0;
  SDL_GameController* controller_ = nullptr;
  SDL_Joystick* joystick_ = nullptr;  // the controller's own, or the raw device
  SDL_Haptic* haptic_ = nullptr;
  Feedback feedback_ = Feedback::None;
  uint16_t hapticType_ = 0;
  std::array<int, kEffectCount> hapticIds_{-1, -1, -1, -1};
  std::array<RumblePart, kEffectCount> rumble_{};
  uint16_t motors_ = 0;  // the strength last given to the motors
};

}  // namespace kav
