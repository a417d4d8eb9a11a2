#pragma once

#include <array>
#include <cstdint>

#include "platform/force_shapes.h"
#include "platform/joystick.h"

namespace kav {

// The Gamepad API's first pad, as the page saw it when the game opened its devices (standard
// mapping: A and B are the two buttons, the d-pad and left stick steer). Force feedback through
// the pad's vibration actuator, where the browser has one: the effects' shapes played on its
// two motors.
class WebJoystick final : public Joystick {
 public:
  ~WebJoystick() override { Close(); }
  bool Open() override;
  bool IsOpen() const override { return open_; }
  JoystickState Read() override;
  bool HasForceFeedback() override { return rumbles_; }
  std::vector<ForceEffectInfo> Effects() override;
  std::vector<int32_t> TriggerButtons() override;
  ForcePlay StartEffect(const std::string& guid, const ForceEffectParams& params) override;
  bool StopEffect(const std::string& guid, const ForceEffectParams& params) override;
  void Close() override;
  // Keeps the motors to the shapes as they change; true while an effect plays.
  bool Update();

 private:
  struct Part {
    ForceShape shape;
    int64_t startMs = 0;
    bool active = false;
  };
  static constexpr size_t kJolt = kForceEffectCount;

  bool open_ = false;
  bool rumbles_ = false;
  std::array<Part, kForceEffectCount + 1> parts_{};
  double large_ = 0;
  double small_ = 0;
  int64_t sentUntil_ = 0;   // when what the motors were last told runs out
  bool heldShort_ = false;  // that hold ends before the levels change
  PunchTrigger punch_;
};

}  // namespace kav
