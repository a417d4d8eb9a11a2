#include <SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless_joystick.h"
#include "platform/sdl/sdl_joystick.h"

namespace kav {
namespace {

const std::vector<std::string> kAllEffects{"Constant Force", "OutOfAmmo", "Punched", "DieselEngineIdle"};

std::vector<std::string> Names(const std::vector<ForceEffectInfo>& effects) {
  std::vector<std::string> names;
  for (const ForceEffectInfo& e : effects) names.push_back(e.name);
  return names;
}

std::string GuidOf(Joystick& pad, const std::string& name) {
  for (const ForceEffectInfo& e : pad.Effects()) {
    if (e.name == name) return e.guid;
  }
  return "";
}

ForceEffectParams Effect(int32_t magnitude, int32_t durationUs, int32_t gain = 10000) {
  ForceEffectParams p;
  p.magnitude = magnitude;
  p.durationUs = durationUs;
  p.gain = gain;
  return p;
}

// ---- The headless pad ----

TEST(HeadlessJoystickTest, FindsOnlyAPadAttachedWhenOpened) {
  HeadlessPad pad;
  HeadlessJoystick joystick(pad);
  EXPECT_FALSE(joystick.Open());
  pad.attached = true;
  pad.axisX = 100;
  EXPECT_FALSE(joystick.IsOpen());
  EXPECT_EQ(joystick.Read().axisX, 0);
  EXPECT_TRUE(joystick.Open());
  EXPECT_TRUE(joystick.IsOpen());
  joystick.Close();
  joystick.Close();
  EXPECT_FALSE(joystick.IsOpen());
}

TEST(HeadlessJoystickTest, ReadsThePadLiveAndZerosOnceDetached) {
  HeadlessPad pad{.attached = true};
  HeadlessJoystick joystick(pad);
  ASSERT_TRUE(joystick.Open());
  pad.axisX = -32768;
  pad.axisY = 32767;
  pad.button2 = true;
  JoystickState s = joystick.Read();
  EXPECT_EQ(s.axisX, -32768);
  EXPECT_EQ(s.axisY, 32767);
  EXPECT_FALSE(s.button1);
  EXPECT_TRUE(s.button2);
  pad.button1 = true;
  EXPECT_TRUE(joystick.Read().button1);

  pad.attached = false;  // what the pad last read is still in it
  s = joystick.Read();
  EXPECT_EQ(s.axisX, 0);
  EXPECT_EQ(s.axisY, 0);
  EXPECT_FALSE(s.button1);
  EXPECT_FALSE(s.button2);
}

TEST(HeadlessJoystickTest, EachKindOffersItsEffects) {
  struct Case {
    HeadlessPad::Kind kind;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {HeadlessPad::Kind::Plain, {}},
      {HeadlessPad::Kind::Rumble, kAllEffects},
      {HeadlessPad::Kind::Haptic, kAllEffects},
      {HeadlessPad::Kind::HapticNoIdle, {"Constant Force", "OutOfAmmo", "Punched"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    HeadlessPad pad{.attached = true, .kind = c.kind};
    HeadlessJoystick joystick(pad);
    ASSERT_TRUE(joystick.Open());
    const bool feedback = !c.names.empty();
    EXPECT_EQ(joystick.HasForceFeedback(), feedback);
    EXPECT_EQ(Names(joystick.Effects()), c.names);
    EXPECT_EQ(joystick.TriggerButtons(), feedback ? std::vector<int32_t>{48} : std::vector<int32_t>{});
  }
}

TEST(HeadlessJoystickTest, WhatThePadCanDoIsFixedWhenOpened) {
  HeadlessPad pad{.attached = true, .kind = HeadlessPad::Kind::Rumble};
  HeadlessJoystick joystick(pad);
  ASSERT_TRUE(joystick.Open());
  pad = HeadlessPad{};  // unplugged, which also forgets the kind
  EXPECT_TRUE(joystick.HasForceFeedback());
  EXPECT_EQ(joystick.Effects().size(), 4u);
}

TEST(HeadlessJoystickTest, NotesEveryEffectCallAndRefusesEffectsItLacks) {
  HeadlessPad pad{.attached = true, .kind = HeadlessPad::Kind::HapticNoIdle};
  HeadlessJoystick joystick(pad);
  ASSERT_TRUE(joystick.Open());
  const std::string punched = GuidOf(joystick, "Punched");
  ASSERT_FALSE(punched.empty());
  ForceEffectParams p = Effect(7000, 250000);
  p.directionX = 3;
  EXPECT_TRUE(joystick.StartEffect(punched, p));
  EXPECT_TRUE(joystick.StopEffect(punched, p));

  HeadlessPad full{.attached = true, .kind = HeadlessPad::Kind::Haptic};
  HeadlessJoystick other(full);
  ASSERT_TRUE(other.Open());
  const std::string idle = GuidOf(other, "DieselEngineIdle");
  EXPECT_EQ(GuidOf(other, "Punched"), punched);  // the same texts on every pad
  EXPECT_FALSE(joystick.StartEffect(idle, Effect(100, -1)));

  ASSERT_EQ(joystick.log.size(), 3u);
  EXPECT_EQ(joystick.log[0].guid, punched);
  EXPECT_TRUE(joystick.log[0].start);
  EXPECT_EQ(joystick.log[0].params.magnitude, 7000);
  EXPECT_EQ(joystick.log[0].params.durationUs, 250000);
  EXPECT_EQ(joystick.log[0].params.directionX, 3);
  EXPECT_FALSE(joystick.log[1].start);
  EXPECT_EQ(joystick.log[2].guid, idle);
  EXPECT_EQ(joystick.log[2].params.durationUs, -1);
}

// ---- Effect parameters in SDL's numbers ----

TEST(SdlForceEffectTest, RumbleStrengthIsMagnitudeTimesGain) {
  EXPECT_EQ(RumbleStrength(Effect(10000, 0)), 0xFFFF);
  EXPECT_EQ(RumbleStrength(Effect(100000, 0)), 0xFFFF);
  EXPECT_EQ(RumbleStrength(Effect(-10000, 0)), 0xFFFF);
  EXPECT_EQ(RumbleStrength(Effect(5000, 0)), 0x7FFF);
  EXPECT_EQ(RumbleStrength(Effect(10000, 0, 5000)), 0x7FFF);
  EXPECT_EQ(RumbleStrength(Effect(10000, 0, 20000)), 0xFFFF);
  EXPECT_EQ(RumbleStrength(Effect(10000, 0, 0)), 0);
  EXPECT_EQ(RumbleStrength(Effect(0, 0)), 0);
}

TEST(SdlForceEffectTest, HapticLevelKeepsTheSign) {
  EXPECT_EQ(HapticLevel(Effect(10000, 0)), 32767);
  EXPECT_EQ(HapticLevel(Effect(100000, 0)), 32767);
  EXPECT_EQ(HapticLevel(Effect(-100000, 0)), -32767);
  EXPECT_EQ(HapticLevel(Effect(5000, 0, 5000)), 8191);
  EXPECT_EQ(HapticLevel(Effect(10000, 0, -5)), 0);
}

TEST(SdlForceEffectTest, LengthInMillisecondsOrUntilStopped) {
  EXPECT_EQ(EffectLengthMs(Effect(1, 1500000)), 1500u);
  EXPECT_EQ(EffectLengthMs(Effect(1, 999)), 0u);
  EXPECT_EQ(EffectLengthMs(Effect(1, -1)), SDL_HAPTIC_INFINITY);
}

TEST(SdlForceEffectTest, HapticEffectsCarryLevelLengthAndDirection) {
  ForceEffectParams p = Effect(-10000, 200000);
  p.directionX = 5;
  p.directionY = -7;
  const SDL_HapticEffect constant = HapticEffectFor(SDL_HAPTIC_CONSTANT, p);
  EXPECT_EQ(constant.type, SDL_HAPTIC_CONSTANT);
  EXPECT_EQ(constant.constant.level, -32767);
  EXPECT_EQ(constant.constant.length, 200u);
  EXPECT_EQ(constant.constant.direction.type, SDL_HAPTIC_CARTESIAN);
  EXPECT_EQ(constant.constant.direction.dir[0], 5);
  EXPECT_EQ(constant.constant.direction.dir[1], -7);

  const SDL_HapticEffect sine = HapticEffectFor(SDL_HAPTIC_SINE, p);
  EXPECT_EQ(sine.type, SDL_HAPTIC_SINE);
  EXPECT_EQ(sine.periodic.magnitude, 32767);
  EXPECT_GT(sine.periodic.period, 0);
  EXPECT_EQ(sine.periodic.length, 200u);
  EXPECT_EQ(sine.periodic.direction.dir[1], -7);

  p.durationUs = -1;
  const SDL_HapticEffect motors = HapticEffectFor(SDL_HAPTIC_LEFTRIGHT, p);
  EXPECT_EQ(motors.type, SDL_HAPTIC_LEFTRIGHT);
  EXPECT_EQ(motors.leftright.large_magnitude, 0xFFFF);
  EXPECT_EQ(motors.leftright.small_magnitude, 0xFFFF);
  EXPECT_EQ(motors.leftright.length, SDL_HAPTIC_INFINITY);
}

TEST(SdlForceEffectTest, NoDirectionGetsOneSdlAccepts) {
  const SDL_HapticEffect e = HapticEffectFor(SDL_HAPTIC_CONSTANT, Effect(10000, 1000));
  const SDL_HapticDirection& d = e.constant.direction;
  EXPECT_EQ(d.type, SDL_HAPTIC_CARTESIAN);
  EXPECT_TRUE(d.dir[0] != 0 || d.dir[1] != 0 || d.dir[2] != 0);
}

// ---- SDL's virtual pads ----

struct RumbleCall {
  Uint16 low;
  Uint16 high;
  uint64_t atMs;
};

struct RumbleLog {
  std::vector<RumbleCall> calls;
  int result = 0;
};

int SDLCALL RecordRumble(void* userdata, Uint16 low, Uint16 high) {
  auto* log = static_cast<RumbleLog*>(userdata);
  log->calls.push_back({low, high, SDL_GetTicks64()});
  return log->result;
}

// Holds SDL's joystick parts itself, as the virtual pads live only while they are up.
class SdlJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    inited_ = true;
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real pad is attached; it would be the first one";
  }

  void TearDown() override {
    Unplug();
    if (inited_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  }

  // Back to no pad at all, for a test that tries more than one.
  void Unplug() {
    joystick.Close();
    if (device_ != nullptr) SDL_JoystickClose(device_);
    device_ = nullptr;
    while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0)) SDL_JoystickDetachVirtual(0);
    rumble = RumbleLog{};
  }

  // A plain stick: two axes, two buttons, one hat.
  void AttachStick(bool rumbles = false) {
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_FLIGHT_STICK;
    d.naxes = 2;
    d.nbuttons = 2;
    d.nhats = 1;
    Attach(d, rumbles);
  }

  void AttachGamepad(bool rumbles = false) {
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    Attach(d, rumbles);
  }

  void Attach(SDL_VirtualJoystickDesc& d, bool rumbles) {
    if (rumbles) {
      d.Rumble = RecordRumble;
      d.userdata = &rumble;
    }
    const int index = SDL_JoystickAttachVirtualEx(&d);
    ASSERT_GE(index, 0) << SDL_GetError();
    device_ = SDL_JoystickOpen(index);
    ASSERT_NE(device_, nullptr) << SDL_GetError();
  }

  void Axis(int axis, Sint16 value) { ASSERT_EQ(SDL_JoystickSetVirtualAxis(device_, axis, value), 0); }
  void Button(int button, bool down) { ASSERT_EQ(SDL_JoystickSetVirtualButton(device_, button, down ? 1 : 0), 0); }
  void Hat(Uint8 value) { ASSERT_EQ(SDL_JoystickSetVirtualHat(device_, 0, value), 0); }

  // Reads until the motors are told something new, or the time is up.
  bool ReadUntilRumbleCall(size_t count, uint64_t timeoutMs) {
    const uint64_t until = SDL_GetTicks64() + timeoutMs;
    while (rumble.calls.size() < count && SDL_GetTicks64() < until) {
      joystick.Read();
      SDL_Delay(2);
    }
    return rumble.calls.size() >= count;
  }

  SdlJoystick joystick;
  RumbleLog rumble;

 private:
  bool inited_ = false;
  SDL_Joystick* device_ = nullptr;
};

TEST_F(SdlJoystickTest, NoPadMeansNothingToOpen) {
  EXPECT_FALSE(joystick.Open());
  EXPECT_FALSE(joystick.IsOpen());
  EXPECT_EQ(joystick.Read().axisX, 0);
  EXPECT_FALSE(joystick.HasForceFeedback());
  EXPECT_TRUE(joystick.Effects().empty());
  joystick.Close();
  joystick.Close();
}

TEST_F(SdlJoystickTest, ClosingGivesBackOnlyWhatItTook) {
  SdlJoystick untouched;
  untouched.Close();
  AttachStick();
  ASSERT_TRUE(joystick.Open());
  EXPECT_TRUE(joystick.IsOpen());
  EXPECT_NE(SDL_WasInit(SDL_INIT_HAPTIC), 0u);
  joystick.Close();
  joystick.Close();
  EXPECT_FALSE(joystick.IsOpen());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_HAPTIC), 0u);
  // Our own hold on the joystick parts, and with it the virtual pad, survives.
  EXPECT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
  EXPECT_EQ(SDL_NumJoysticks(), 1);
  EXPECT_TRUE(joystick.Open());
}

TEST_F(SdlJoystickTest, StickReadsItsAxesAndButtons) {
  AttachStick();
  ASSERT_TRUE(joystick.Open());
  for (Sint16 value : {Sint16{-32768}, Sint16{0}, Sint16{32767}}) {
    Axis(0, value);
    Axis(1, static_cast<Sint16>(-1 - value));
    const JoystickState s = joystick.Read();
    EXPECT_EQ(s.axisX, value);
    EXPECT_EQ(s.axisY, -1 - value);
  }
  Button(0, true);
  JoystickState s = joystick.Read();
  EXPECT_TRUE(s.button1);
  EXPECT_FALSE(s.button2);
  Button(0, false);
  Button(1, true);
  s = joystick.Read();
  EXPECT_FALSE(s.button1);
  EXPECT_TRUE(s.button2);
}

TEST_F(SdlJoystickTest, StickHatReadsAsTheAxisExtremes) {
  AttachStick();
  ASSERT_TRUE(joystick.Open());
  Hat(SDL_HAT_LEFT);
  EXPECT_EQ(joystick.Read().axisX, -32768);
  Hat(SDL_HAT_RIGHT);
  EXPECT_EQ(joystick.Read().axisX, 32767);
  Hat(SDL_HAT_LEFTUP);
  JoystickState s = joystick.Read();
  EXPECT_EQ(s.axisX, -32768);
  EXPECT_EQ(s.axisY, -32768);
  Hat(SDL_HAT_DOWN);
  s = joystick.Read();
  EXPECT_EQ(s.axisX, 0);
  EXPECT_EQ(s.axisY, 32767);
  // A stick that is pushed wins over the hat.
  Axis(0, 20000);
  Hat(SDL_HAT_LEFT);
  EXPECT_EQ(joystick.Read().axisX, 20000);
}

TEST_F(SdlJoystickTest, GamepadMapsAAndBTheLeftStickAndTheDpad) {
  AttachGamepad();
  ASSERT_TRUE(joystick.Open());
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  Axis(SDL_CONTROLLER_AXIS_RIGHTX, 1234);
  JoystickState s = joystick.Read();
  EXPECT_EQ(s.axisX, 32767);
  EXPECT_EQ(s.axisY, -32768);
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);

  Button(SDL_CONTROLLER_BUTTON_X, true);
  s = joystick.Read();
  EXPECT_FALSE(s.button1);
  EXPECT_FALSE(s.button2);
  Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_TRUE(joystick.Read().button1);
  Button(SDL_CONTROLLER_BUTTON_A, false);
  Button(SDL_CONTROLLER_BUTTON_B, true);
  s = joystick.Read();
  EXPECT_FALSE(s.button1);
  EXPECT_TRUE(s.button2);

  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  s = joystick.Read();
  EXPECT_EQ(s.axisX, -32768);
  EXPECT_EQ(s.axisY, 0);
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  s = joystick.Read();
  EXPECT_EQ(s.axisX, 32767);
  EXPECT_EQ(s.axisY, -32768);
  Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_EQ(joystick.Read().axisY, 32767);
  // Off centre, the stick is what counts.
  Axis(SDL_CONTROLLER_AXIS_LEFTX, -15000);
  s = joystick.Read();
  EXPECT_EQ(s.axisX, -15000);
  EXPECT_EQ(s.axisY, 0);
}

TEST_F(SdlJoystickTest, ReadsZerosOnceThePadIsGone) {
  AttachStick();
  ASSERT_TRUE(joystick.Open());
  Axis(0, 32767);
  Button(0, true);
  EXPECT_EQ(joystick.Read().axisX, 32767);
  SDL_JoystickDetachVirtual(0);
  const JoystickState s = joystick.Read();
  EXPECT_EQ(s.axisX, 0);
  EXPECT_FALSE(s.button1);
}

TEST_F(SdlJoystickTest, PadWithoutMotorsHasNoForceFeedback) {
  for (bool gamepad : {false, true}) {
    SCOPED_TRACE(gamepad);
    Unplug();
    gamepad ? AttachGamepad() : AttachStick();
    ASSERT_TRUE(joystick.Open());
    EXPECT_FALSE(joystick.HasForceFeedback());
    EXPECT_TRUE(joystick.Effects().empty());
    EXPECT_TRUE(joystick.TriggerButtons().empty());
    EXPECT_FALSE(joystick.StartEffect("{4B415652-0000-0000-0000-000000000001}", Effect(10000, 1000000)));
  }
}

TEST_F(SdlJoystickTest, MotorsOfferAllFourEffects) {
  for (bool gamepad : {false, true}) {
    SCOPED_TRACE(gamepad);
    Unplug();
    gamepad ? AttachGamepad(true) : AttachStick(true);
    ASSERT_TRUE(joystick.Open());
    EXPECT_TRUE(joystick.HasForceFeedback());
    EXPECT_EQ(Names(joystick.Effects()), kAllEffects);
    EXPECT_EQ(joystick.TriggerButtons(), std::vector<int32_t>{48});
    std::set<std::string> guids;
    for (const ForceEffectInfo& e : joystick.Effects()) guids.insert(e.guid);
    EXPECT_EQ(guids.size(), 4u);
    EXPECT_EQ(guids.count(""), 0u);
  }
}

TEST_F(SdlJoystickTest, EffectRumblesAtFullStrengthForItsDuration) {
  for (bool gamepad : {false, true}) {
    SCOPED_TRACE(gamepad);
    Unplug();
    gamepad ? AttachGamepad(true) : AttachStick(true);
    ASSERT_TRUE(joystick.Open());
    const uint64_t started = SDL_GetTicks64();
    ASSERT_TRUE(joystick.StartEffect(GuidOf(joystick, "Punched"), Effect(100000, 150000)));
    ASSERT_EQ(rumble.calls.size(), 1u);
    EXPECT_EQ(rumble.calls[0].low, 0xFFFF);
    EXPECT_EQ(rumble.calls[0].high, 0xFFFF);

    ASSERT_TRUE(ReadUntilRumbleCall(2, 2000));
    EXPECT_EQ(rumble.calls[1].low, 0);
    EXPECT_EQ(rumble.calls[1].high, 0);
    EXPECT_GE(rumble.calls[1].atMs - started, 150u);
    EXPECT_LT(rumble.calls[1].atMs - started, 1000u);
  }
}

TEST_F(SdlJoystickTest, EffectUntilStoppedRumblesUntilStopped) {
  AttachGamepad(true);
  ASSERT_TRUE(joystick.Open());
  const std::string idle = GuidOf(joystick, "DieselEngineIdle");
  ASSERT_TRUE(joystick.StartEffect(idle, Effect(5000, -1)));
  ASSERT_EQ(rumble.calls.size(), 1u);
  EXPECT_EQ(rumble.calls[0].low, 0x7FFF);
  EXPECT_FALSE(ReadUntilRumbleCall(2, 300));
  ASSERT_TRUE(joystick.StopEffect(idle, Effect(5000, -1)));
  ASSERT_EQ(rumble.calls.size(), 2u);
  EXPECT_EQ(rumble.calls[1].low, 0);
  EXPECT_EQ(rumble.calls[1].high, 0);
}

TEST_F(SdlJoystickTest, SilentEffectsLeaveTheMotorsAlone) {
  AttachStick(true);
  ASSERT_TRUE(joystick.Open());
  const std::string punched = GuidOf(joystick, "Punched");
  EXPECT_TRUE(joystick.StartEffect(punched, Effect(0, 1000000)));
  EXPECT_TRUE(joystick.StartEffect(punched, Effect(10000, 1000000, 0)));
  EXPECT_TRUE(joystick.StartEffect(punched, Effect(10000, 500)));  // shorter than a millisecond
  EXPECT_TRUE(joystick.StopEffect(punched, Effect(0, 1000000)));
  joystick.Read();
  EXPECT_TRUE(rumble.calls.empty());
}

TEST_F(SdlJoystickTest, MotorsRunAtTheStrongestEffectStillPlaying) {
  AttachStick(true);
  ASSERT_TRUE(joystick.Open());
  const std::string idle = GuidOf(joystick, "DieselEngineIdle");
  const std::string punched = GuidOf(joystick, "Punched");
  const std::string ammo = GuidOf(joystick, "OutOfAmmo");
  ASSERT_TRUE(joystick.StartEffect(idle, Effect(2500, -1)));
  ASSERT_TRUE(joystick.StartEffect(punched, Effect(10000, 100000)));
  ASSERT_EQ(rumble.calls.size(), 2u);
  EXPECT_EQ(rumble.calls[1].low, 0xFFFF);
  // The punch ends, the engine is felt again.
  ASSERT_TRUE(ReadUntilRumbleCall(3, 2000));
  // SDL may stop the motors itself first.
  if (rumble.calls.back().low == 0) {
    ASSERT_TRUE(ReadUntilRumbleCall(4, 500));
  }
  EXPECT_EQ(rumble.calls.back().low, 0x3FFF);
  // Stopping an effect that is outweighed changes nothing.
  const size_t calls = rumble.calls.size();
  ASSERT_TRUE(joystick.StartEffect(ammo, Effect(1000, -1)));
  ASSERT_TRUE(joystick.StopEffect(ammo, Effect(1000, -1)));
  EXPECT_EQ(rumble.calls.size(), calls);
  ASSERT_TRUE(joystick.StopEffect(idle, Effect(2500, -1)));
  EXPECT_EQ(rumble.calls.back().low, 0);
}

TEST_F(SdlJoystickTest, EqualEffectsKeepTheMotorsGoingUntilTheLastEnds) {
  AttachGamepad(true);
  ASSERT_TRUE(joystick.Open());
  ASSERT_TRUE(joystick.StartEffect(GuidOf(joystick, "Constant Force"), Effect(10000, 50000)));
  ASSERT_TRUE(joystick.StartEffect(GuidOf(joystick, "Punched"), Effect(10000, -1)));
  // Even while the game reads nothing, SDL must not stop the motors when the short one ends.
  SDL_Delay(150);
  SDL_JoystickUpdate();
  EXPECT_EQ(rumble.calls.size(), 1u);
}

TEST_F(SdlJoystickTest, RefusedRumbleAndUnknownEffectsFail) {
  AttachStick(true);
  ASSERT_TRUE(joystick.Open());
  EXPECT_FALSE(joystick.StartEffect("{00000000-0000-0000-0000-000000000000}", Effect(10000, 1000000)));
  EXPECT_TRUE(rumble.calls.empty());
  rumble.result = -1;
  EXPECT_FALSE(joystick.StartEffect(GuidOf(joystick, "Punched"), Effect(10000, 1000000)));
  EXPECT_EQ(rumble.calls.size(), 1u);
}

}  // namespace
}  // namespace kav
