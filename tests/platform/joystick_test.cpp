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
  EXPECT_TRUE(joystick.StartEffect(punched, p).accepted);
  EXPECT_TRUE(joystick.StopEffect(punched, p));

  HeadlessPad full{.attached = true, .kind = HeadlessPad::Kind::Haptic};
  HeadlessJoystick other(full);
  ASSERT_TRUE(other.Open());
  const std::string idle = GuidOf(other, "DieselEngineIdle");
  EXPECT_EQ(GuidOf(other, "Punched"), punched);  // the same texts on every pad
  EXPECT_FALSE(joystick.StartEffect(idle, Effect(100, -1)).accepted);

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

// The game hands the named effects no strength; the pad still plays each of them.
TEST(HeadlessJoystickTest, NamedEffectsAreFeltAndTheArmedPunchFiresOnEachPress) {
  HeadlessPad pad{.attached = true, .kind = HeadlessPad::Kind::Rumble};
  HeadlessJoystick joystick(pad);
  ASSERT_TRUE(joystick.Open());
  for (const char* name : {"OutOfAmmo", "DieselEngineIdle"}) {
    const ForcePlay played = joystick.StartEffect(GuidOf(joystick, name), Effect(0, 1000000));
    EXPECT_GT(played.felt.strength, 0.0) << name;
    EXPECT_EQ(played.felt.ms, 1000) << name;
  }
  const std::string punched = GuidOf(joystick, "Punched");
  pad.button1 = true;
  EXPECT_FALSE(joystick.Read().triggered) << "not armed yet";
  pad.button1 = false;
  joystick.Read();
  const ForcePlay armed = joystick.StartEffect(punched, Effect(0, -1));
  EXPECT_EQ(armed.felt.strength, 0.0) << "arming moves nothing";
  pad.button1 = true;
  const std::optional<ForceFelt> jolt = joystick.Read().triggered;
  ASSERT_TRUE(jolt);
  EXPECT_GT(jolt->strength, 0.5);
  EXPECT_GT(jolt->ms, 0);
  EXPECT_LE(jolt->ms, 500);
  EXPECT_FALSE(joystick.Read().triggered) << "a held button fires once";
  pad.button1 = false;
  joystick.Read();
  ASSERT_TRUE(joystick.StopEffect(punched, Effect(0, -1)));
  pad.button1 = true;
  EXPECT_FALSE(joystick.Read().triggered) << "stopping disarms it";
}

// ---- Shapes in SDL's numbers ----

TEST(SdlForceEffectTest, EachShapeTakesTheBestTypeTheDeviceHas) {
  ForceEffectParams idleParams = Effect(0, 1000000);
  idleParams.directionX = 5;
  const ForceShape shudder = ShapeOfEffect(kDieselEngineIdleEffect, idleParams);
  const ForceShape pulses = ShapeOfEffect(kOutOfAmmoEffect, Effect(0, 1000000));
  const unsigned int all = SDL_HAPTIC_CONSTANT | SDL_HAPTIC_SINE | SDL_HAPTIC_SAWTOOTHUP | SDL_HAPTIC_LEFTRIGHT;

  const SDL_HapticEffect wave = HapticEffectFor(shudder, idleParams, all);
  EXPECT_EQ(wave.type, SDL_HAPTIC_SINE);
  EXPECT_GT(wave.periodic.magnitude, 0);
  EXPECT_EQ(wave.periodic.length, 1000u);
  EXPECT_EQ(wave.periodic.direction.dir[0], 5);
  EXPECT_EQ(HapticEffectFor(pulses, {}, all).type, SDL_HAPTIC_SAWTOOTHUP);
  EXPECT_EQ(HapticEffectFor(pulses, {}, SDL_HAPTIC_SINE).type, SDL_HAPTIC_SINE);

  const SDL_HapticEffect jolt = HapticEffectFor(PunchJolt(), {}, all);
  EXPECT_EQ(jolt.type, SDL_HAPTIC_CONSTANT);
  EXPECT_EQ(jolt.constant.level, 32767);
  EXPECT_LE(jolt.constant.length, 500u);
  const SDL_HapticDirection& d = jolt.constant.direction;
  EXPECT_TRUE(d.dir[0] != 0 || d.dir[1] != 0 || d.dir[2] != 0) << "SDL refuses a zero direction";

  const SDL_HapticEffect motors = HapticEffectFor(shudder, {}, SDL_HAPTIC_LEFTRIGHT);
  EXPECT_EQ(motors.type, SDL_HAPTIC_LEFTRIGHT);
  EXPECT_GT(motors.leftright.large_magnitude, motors.leftright.small_magnitude) << "a low shudder";
  EXPECT_GT(motors.leftright.small_magnitude, 0);
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

// The motors' clock, moved by hand so that pulses are timed without waiting.
uint64_t gNow = 0;
uint64_t FakeClock() {
  return gNow;
}

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

  SdlJoystick joystick{&FakeClock};
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
    EXPECT_FALSE(joystick.StartEffect("{4B415652-0000-0000-0000-000000000001}", Effect(10000, 1000000)).accepted);
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

TEST_F(SdlJoystickTest, TheMotorsPlayEachShapeOnTime) {
  AttachGamepad(true);
  ASSERT_TRUE(joystick.Open());
  const std::string idle = GuidOf(joystick, "DieselEngineIdle");
  const std::string ammo = GuidOf(joystick, "OutOfAmmo");
  gNow = 1000;
  ASSERT_TRUE(joystick.StartEffect(idle, Effect(0, 1000000)).accepted);
  ASSERT_EQ(rumble.calls.size(), 1u);
  EXPECT_GT(rumble.calls[0].low, rumble.calls[0].high) << "a low shudder";
  EXPECT_GT(rumble.calls[0].high, 0);

  // The stutter outweighs the engine while it knocks; between knocks the engine is felt again.
  gNow = 1100;
  ASSERT_TRUE(joystick.StartEffect(ammo, Effect(0, 1000000)).accepted);
  const Uint16 knock = rumble.calls.back().low;
  EXPECT_GT(knock, rumble.calls[0].low);
  gNow = 1180;
  joystick.Update();
  EXPECT_EQ(rumble.calls.back().low, rumble.calls[0].low);
  gNow = 1260;
  joystick.Update();
  EXPECT_EQ(rumble.calls.back().low, knock);
  // The engine's second is over; the knocks go on to theirs, then the motors rest.
  gNow = 2080;
  joystick.Update();
  EXPECT_EQ(rumble.calls.back().low, knock);
  gNow = 2100;
  joystick.Update();
  EXPECT_EQ(rumble.calls.back().low, 0);
  EXPECT_EQ(rumble.calls.back().high, 0);
  const size_t calls = rumble.calls.size();
  joystick.Update();
  EXPECT_EQ(rumble.calls.size(), calls) << "resting motors are left alone";
}

TEST_F(SdlJoystickTest, TheArmedPunchJoltsOnEachPressUntilStopped) {
  AttachGamepad(true);
  ASSERT_TRUE(joystick.Open());
  const std::string punched = GuidOf(joystick, "Punched");
  gNow = 0;
  const ForcePlay armed = joystick.StartEffect(punched, Effect(0, -1));
  ASSERT_TRUE(armed.accepted);
  EXPECT_TRUE(rumble.calls.empty()) << "arming moves nothing";
  Button(SDL_CONTROLLER_BUTTON_A, true);
  ASSERT_TRUE(joystick.Read().triggered);
  ASSERT_EQ(rumble.calls.size(), 1u);
  EXPECT_EQ(rumble.calls[0].low, 0xFFFF);
  EXPECT_FALSE(joystick.Read().triggered) << "a held button fires once";
  gNow = PunchJolt().ms;
  joystick.Update();
  EXPECT_EQ(rumble.calls.back().low, 0) << "the jolt is short";
  Button(SDL_CONTROLLER_BUTTON_A, false);
  joystick.Read();
  ASSERT_TRUE(joystick.StopEffect(punched, Effect(0, -1)));
  Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_FALSE(joystick.Read().triggered) << "stopping disarms it";
}

TEST_F(SdlJoystickTest, RefusedRumbleAndUnknownEffectsFail) {
  AttachStick(true);
  ASSERT_TRUE(joystick.Open());
  EXPECT_FALSE(joystick.StartEffect("{00000000-0000-0000-0000-000000000000}", Effect(10000, 1000000)).accepted);
  EXPECT_TRUE(rumble.calls.empty());
  rumble.result = -1;
  EXPECT_FALSE(joystick.StartEffect(GuidOf(joystick, "OutOfAmmo"), Effect(0, 1000000)).accepted);
  EXPECT_EQ(rumble.calls.size(), 1u);
}

}  // namespace
}  // namespace kav
