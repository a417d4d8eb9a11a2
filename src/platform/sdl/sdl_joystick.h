#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/force_shapes.h"
#include "platform/joystick.h"

namespace kav {

// How a shape becomes SDL's numbers; free so they can be checked without a device.
// A motor's strength, 0..0xFFFF, from a level 0..1.
uint16_t MotorStrength(double level);
// The shape as an SDL haptic effect for a device that supports the effect types in `supported`:
// a wave where it can play one, else a constant force, else its two motors.
SDL_HapticEffect HapticEffectFor(const ForceShape& shape, const ForceEffectParams& params, unsigned int supported);

// The first attached pad through SDL: a recognised gamepad as a game controller (left stick, A,
// B, d-pad), anything else as a raw joystick (axes 0 and 1, buttons 0 and 1, hat 0). Force
// feedback through SDL's haptic devices, or failing that the pad's rumble motors.
class SdlJoystick final : public Joystick {
 public:
  using Clock = uint64_t (*)();
  // The clock times the motors' pulses; tests hand in one of their own.
  explicit SdlJoystick(Clock clock = &SDL_GetTicks64) : clock_(clock) {}
  ~SdlJoystick() override { Close(); }
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  bool Open() override;
  bool IsOpen() const override { return joystick_ != nullptr; }
  JoystickState Read() override;
  bool HasForceFeedback() override { return feedback_ != Feedback::None; }
  std::vector<ForceEffectInfo> Effects() override;
  std::vector<int32_t> TriggerButtons() override;
  ForcePlay StartEffect(const std::string& guid, const ForceEffectParams& params) override;
  bool StopEffect(const std::string& guid, const ForceEffectParams& params) override;
  void Close() override;
  // Keeps the motors' pulses and ends on time while the game sleeps; cheap when nothing plays.
  // True while an effect plays on the motors, so that it is called again soon.
  bool Update();

 private:
  enum class Feedback { None, Haptic, Rumble };
  // The four effects, then the jolt of the armed "Punched".
  static constexpr size_t kJolt = kForceEffectCount;
  static constexpr size_t kPlayed = kJolt + 1;
  // What one effect asks of the motors; they run at the strongest of those still playing.
  struct RumblePart {
    ForceShape shape;
    uint64_t startMs = 0;
    bool active = false;
  };

  void OpenFeedback();
  bool Play(size_t index, const ForceShape& shape, const ForceEffectParams& params);
  bool StartHaptic(size_t index, const ForceShape& shape, const ForceEffectParams& params);
  bool UpdateRumble();
  int Rumble(uint16_t large, uint16_t small, uint32_t durationMs);

  Clock clock_;
  uint32_t initFlags_ = 0;
  SDL_GameController* controller_ = nullptr;
  SDL_Joystick* joystick_ = nullptr;  // the controller's own, or the raw device
  SDL_Haptic* haptic_ = nullptr;
  Feedback feedback_ = Feedback::None;
  unsigned int hapticSupported_ = 0;
  std::array<int, kPlayed> hapticIds_{-1, -1, -1, -1, -1};
  std::array<RumblePart, kPlayed> rumble_{};
  uint16_t motorLarge_ = 0;  // the strengths last given to the motors
  uint16_t motorSmall_ = 0;
  PunchTrigger punch_;
};

}  // namespace kav
