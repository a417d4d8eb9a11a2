#include "devices/input_devices.h"

#include <gtest/gtest.h>

#include "base/boolean.h"
#include "platform/headless/headless_joystick.h"

namespace kav {
namespace {

struct ForceEvents : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override {
    if (e.kind == "force") events.push_back(e);
  }
};

class InputDevicesTest : public ::testing::Test {
 protected:
  DeviceState devices;
  HeadlessPad pad;
  HeadlessJoystick joystick{pad};
  ForceEvents force;
  Trace trace{&force};
  InputDevices Devices() { return InputDevices{devices, joystick, trace}; }

  void Attach(HeadlessPad::Kind kind) {
    pad.attached = true;
    pad.kind = kind;
    InitInputDevices(Devices());
  }
};

TEST_F(InputDevicesTest, NoPadMeansNoStepsNoButtonsNoEffects) {
  InitInputDevices(Devices());
  EXPECT_EQ(devices.JoystickPresent, kFalse);
  EXPECT_EQ(devices.ForceFeedbackReady, kFalse);
  EXPECT_TRUE(devices.InputRoot);
  pad.attached = true;  // plugged in too late: not looked for again
  pad.axisX = -32768;
  pad.button1 = true;
  double x = 9;
  double y = 9;
  int32_t button = 9;
  PollJoystick(Devices(), x, y, button);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(button, 0);
  StartForceEffect(Devices(), 2);
  EXPECT_TRUE(force.events.empty());
}

TEST_F(InputDevicesTest, StepsAtTheExtremesAndTheCentreAndTheButtonCodes) {
  EXPECT_EQ(JoystickStep(-32768), -7);
  EXPECT_EQ(JoystickStep(0), 0);
  EXPECT_EQ(JoystickStep(32767), 6);
  EXPECT_EQ(JoystickStep(-1), -1) << "rounds toward minus infinity";
  EXPECT_EQ(JoystickStep(4681), 0);
  EXPECT_EQ(JoystickStep(4682), 1);

  Attach(HeadlessPad::Kind::Plain);
  EXPECT_EQ(devices.JoystickPresent, kTrue);
  pad.axisX = -32768;
  pad.axisY = 32767;
  pad.button1 = true;
  double x = 0;
  double y = 0;
  int32_t button = 0;
  PollJoystick(Devices(), x, y, button);
  EXPECT_EQ(x, -7);
  EXPECT_EQ(y, 6);
  EXPECT_EQ(button, 1);
  pad.button2 = true;
  PollJoystick(Devices(), x, y, button);
  EXPECT_EQ(button, 2) << "the second button wins";
}

TEST_F(InputDevicesTest, EffectsAreMatchedByNameAndTheIdleOneIsOptional) {
  Attach(HeadlessPad::Kind::HapticNoIdle);
  EXPECT_EQ(devices.ForceFeedbackReady, kTrue);
  EXPECT_TRUE(devices.EffectGuids[3].empty());
  const EffectSpec& constant = devices.EffectSpecs[0];
  EXPECT_EQ(constant.Duration, 2000000);
  EXPECT_EQ(constant.Magnitude, 100000);
  EXPECT_EQ(constant.Gain, 10000);
  EXPECT_EQ(constant.SamplePeriod, 1000);
  EXPECT_EQ(constant.TriggerButton, -1);
  EXPECT_EQ(constant.TriggerRepeat, -1);
  EXPECT_EQ(devices.EffectSpecs[2].Duration, -1);
  EXPECT_EQ(devices.EffectSpecs[2].TriggerButton, 48) << "the first button that can trigger effects";
  EXPECT_EQ(devices.EffectSpecs[1].Duration, 1000000);

  StartForceEffect(Devices(), 0);
  StopForceEffect(Devices(), 2);
  StartForceEffect(Devices(), 3);  // not offered: the game goes on without it
  StartForceEffect(Devices(), 4);
  ASSERT_EQ(force.events.size(), 2u);
  auto field = [](const TraceEvent& e, size_t i) { return e.fields[i].second; };
  EXPECT_EQ(field(force.events[0], 0).As<std::string>(), "start");
  EXPECT_EQ(field(force.events[0], 1).As<int64_t>(), 0);
  EXPECT_EQ(field(force.events[0], 2).As<int64_t>(), 2000000);
  EXPECT_EQ(field(force.events[0], 3).As<int64_t>(), 100000);
  EXPECT_EQ(field(force.events[0], 4).As<int64_t>(), 10000);
  EXPECT_EQ(field(force.events[1], 0).As<std::string>(), "stop");
  EXPECT_EQ(field(force.events[1], 2).As<int64_t>(), -1);
  EXPECT_TRUE(devices.EffectObjects[0]);
}

TEST_F(InputDevicesTest, APadWithoutForceFeedbackPlaysNothing) {
  Attach(HeadlessPad::Kind::Plain);
  EXPECT_EQ(devices.ForceFeedbackReady, kFalse);
  StartForceEffect(Devices(), 0);
  EXPECT_TRUE(force.events.empty());

  DeviceState fresh;
  devices = fresh;
  Attach(HeadlessPad::Kind::Haptic);
  EXPECT_EQ(devices.ForceFeedbackReady, kTrue);
  EXPECT_FALSE(devices.EffectGuids[3].empty());
  EXPECT_EQ(devices.EffectSpecs[3].DirectionX, 5);

  devices = fresh;
  Attach(HeadlessPad::Kind::Rumble);
  EXPECT_EQ(devices.ForceFeedbackReady, kTrue) << "motors stand in for the effects";
}

TEST_F(InputDevicesTest, AnUnpluggedPadPlaysNoEffect) {
  Attach(HeadlessPad::Kind::Haptic);
  pad.attached = false;
  StartForceEffect(Devices(), 0);
  EXPECT_TRUE(force.events.empty());
}

TEST_F(InputDevicesTest, ReleasingLetsThePadGo) {
  Attach(HeadlessPad::Kind::Plain);
  ReleaseInputDevices(Devices());
  EXPECT_FALSE(devices.JoystickDevice);
  EXPECT_FALSE(devices.InputRoot);
  double x = 0;
  double y = 0;
  int32_t button = 0;
  pad.button1 = true;
  PollJoystick(Devices(), x, y, button);
  EXPECT_EQ(button, 0);
}

}  // namespace
}  // namespace kav
