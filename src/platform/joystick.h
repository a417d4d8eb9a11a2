#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kav {

// What a pad plays: how strongly (0..1; 0 when nothing moves) and for how long (ms; -1 until
// stopped).
struct ForceFelt {
  double strength = 0;
  int32_t ms = 0;
};

// The pad's raw reading: axes -32768..32767 (a d-pad reads as the axis extremes), the first
// two buttons.
struct JoystickState {
  int32_t axisX = 0;
  int32_t axisY = 0;
  bool button1 = false;
  bool button2 = false;
  // Set when this reading's press of the first button fired the armed "Punched" effect.
  std::optional<ForceFelt> triggered;
};

// A start the device took, and what it plays for it.
struct ForcePlay {
  bool accepted = false;
  ForceFelt felt;
};

// What one joystick poll gives the game: the steps (-7..6 across each axis) and the button
// code (0 none, 1 first button, 2 second).
struct JoystickPoll {
  double x = 0;
  double y = 0;
  int32_t button = 0;
};

// One force-feedback effect the device offers, by the name the game looks for.
struct ForceEffectInfo {
  std::string name;  // "Constant Force", "OutOfAmmo", "Punched", "DieselEngineIdle"
  std::string guid;  // the device's text for it
};

// What an effect is played with, as the game describes it.
struct ForceEffectParams {
  int32_t durationUs = 0;  // -1: until stopped
  int32_t samplePeriod = 0;
  int32_t gain = 0;  // 0..10000
  int32_t triggerButton = -1;
  int32_t triggerRepeat = -1;
  int32_t directionX = 0;
  int32_t directionY = 0;
  int32_t magnitude = 0;  // constant-force strength, 10000 is full
};

// The first attached gamepad or joystick and its force feedback. Devices plugged in after
// Open are not looked for.
class Joystick {
 public:
  virtual ~Joystick() = default;
  // Opens the first attached pad; false when there is none.
  virtual bool Open() = 0;
  virtual bool IsOpen() const = 0;
  virtual JoystickState Read() = 0;
  virtual bool HasForceFeedback() = 0;
  // The effects the device plays, in its own order; empty without force feedback.
  virtual std::vector<ForceEffectInfo> Effects() = 0;
  // Data offsets of the buttons that can trigger effects.
  virtual std::vector<int32_t> TriggerButtons() = 0;
  // One iteration of the effect; not accepted when the device refused it.
  virtual ForcePlay StartEffect(const std::string& guid, const ForceEffectParams& params) = 0;
  virtual bool StopEffect(const std::string& guid, const ForceEffectParams& params) = 0;
  virtual void Close() = 0;
};

}  // namespace kav

namespace kav {

// No pad attached, ever.
class NoJoystick final : public Joystick {
 public:
  bool Open() override { return false; }
  bool IsOpen() const override { return false; }
  JoystickState Read() override { return {}; }
  bool HasForceFeedback() override { return false; }
  std::vector<ForceEffectInfo> Effects() override { return {}; }
  std::vector<int32_t> TriggerButtons() override { return {}; }
  ForcePlay StartEffect(const std::string&, const ForceEffectParams&) override { return {}; }
  bool StopEffect(const std::string&, const ForceEffectParams&) override { return false; }
  void Close() override {}
};

}  // namespace kav
