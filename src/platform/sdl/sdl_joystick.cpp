#include "platform/sdl/sdl_joystick.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kav {

namespace {

// A stick reading closer to the centre than this leaves the axis to the d-pad.
constexpr int kStickCentre = 8000;
// Effect types that play a shape as it is; a pad offering only its motors is driven as motors.
constexpr unsigned int kShapedTypes = SDL_HAPTIC_CONSTANT | SDL_HAPTIC_SINE | SDL_HAPTIC_SAWTOOTHUP;

// The d-pad or hat reads as a full throw, but only while the stick is left alone.
void ApplyDpad(JoystickState& s, bool left, bool right, bool up, bool down) {
  if (std::abs(s.axisX) >= kStickCentre || std::abs(s.axisY) >= kStickCentre) return;
  if (left != right) s.axisX = left ? -32768 : 32767;
  if (up != down) s.axisY = up ? -32768 : 32767;
}

int16_t HapticMagnitude(double level) {
  return static_cast<int16_t>(std::lround(std::clamp(level, 0.0, 1.0) * 32767.0));
}

}  // namespace

uint16_t MotorStrength(double level) {
  return static_cast<uint16_t>(std::lround(std::clamp(level, 0.0, 1.0) * 0xFFFF));
}

SDL_HapticEffect HapticEffectFor(const ForceShape& shape, const ForceEffectParams& params, unsigned int supported) {
  SDL_HapticEffect e{};
  SDL_HapticDirection direction{};
  direction.type = SDL_HAPTIC_CARTESIAN;
  if (params.directionX == 0 && params.directionY == 0) {
    // SDL refuses a zero direction; a force from straight ahead.
    direction.dir[1] = -1;
  } else {
    direction.dir[0] = params.directionX;
    direction.dir[1] = params.directionY;
  }
  const uint32_t length = shape.ms < 0 ? SDL_HAPTIC_INFINITY : static_cast<uint32_t>(shape.ms);
  const int16_t level = HapticMagnitude(shape.Felt());
  const bool sine = (supported & SDL_HAPTIC_SINE) != 0;
  const bool sawtooth = (supported & SDL_HAPTIC_SAWTOOTHUP) != 0;
  const bool constant = (supported & SDL_HAPTIC_CONSTANT) != 0;
  if ((sine || sawtooth) && (shape.periodMs > 0 || !constant)) {
    // Pulses knock best as a rising edge that drops away; a shudder is a smooth wave.
    const bool knocks = sawtooth && (shape.pulses || !sine);
    e.periodic.type = knocks ? SDL_HAPTIC_SAWTOOTHUP : SDL_HAPTIC_SINE;
    e.periodic.direction = direction;
    e.periodic.length = length;
    // A steady push on a device of waves only: a fast one, felt as a buzz.
    e.periodic.period = static_cast<uint16_t>(shape.periodMs > 0 ? shape.periodMs : 20);
    e.periodic.magnitude = level;
  } else if (constant) {
    e.constant.type = SDL_HAPTIC_CONSTANT;
    e.constant.direction = direction;
    e.constant.length = length;
    e.constant.level = level;
  } else {
    e.leftright.type = SDL_HAPTIC_LEFTRIGHT;
    e.leftright.length = length;
    e.leftright.large_magnitude = MotorStrength(shape.large);
    e.leftright.small_magnitude = MotorStrength(shape.small);
  }
  return e;
}

bool SdlJoystick::Open() {
  if (IsOpen()) return true;
  if (initFlags_ == 0) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return false;
    initFlags_ = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;
    // Force feedback is a bonus; a build or machine without it still has a pad.
    if (SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0) initFlags_ |= SDL_INIT_HAPTIC;
  }
  SDL_JoystickUpdate();
  if (SDL_NumJoysticks() > 0 && SDL_IsGameController(0)) {
    controller_ = SDL_GameControllerOpen(0);
    if (controller_ != nullptr) joystick_ = SDL_GameControllerGetJoystick(controller_);
  }
  if (joystick_ == nullptr && SDL_NumJoysticks() > 0) {
    // A pad SDL knows a layout for but cannot open as one still works by its raw numbers.
    if (controller_ != nullptr) SDL_GameControllerClose(controller_);
    controller_ = nullptr;
    joystick_ = SDL_JoystickOpen(0);
  }
  if (joystick_ == nullptr) {
    // Without a pad SDL's joystick parts are not kept around.
    Close();
    return false;
  }
  OpenFeedback();
  return true;
}

void SdlJoystick::OpenFeedback() {
  if ((initFlags_ & SDL_INIT_HAPTIC) != 0 && SDL_JoystickIsHaptic(joystick_) == SDL_TRUE) {
    haptic_ = SDL_HapticOpenFromJoystick(joystick_);
  }
  const bool rumbles = controller_ != nullptr ? SDL_GameControllerHasRumble(controller_) == SDL_TRUE
                                              : SDL_JoystickHasRumble(joystick_) == SDL_TRUE;
  if (haptic_ != nullptr) {
    const unsigned int supported = SDL_HapticQuery(haptic_);
    // Motors alone are better driven as motors, which can pulse.
    const bool shaped = (supported & kShapedTypes) != 0;
    const bool motors = (supported & SDL_HAPTIC_LEFTRIGHT) != 0 && !rumbles;
    if ((shaped || motors) && SDL_HapticNumEffects(haptic_) > 0) {
      if ((supported & SDL_HAPTIC_GAIN) != 0) SDL_HapticSetGain(haptic_, 100);
      hapticSupported_ = supported;
      feedback_ = Feedback::Haptic;
      return;
    }
    SDL_HapticClose(haptic_);
    haptic_ = nullptr;
  }
  if (rumbles) feedback_ = Feedback::Rumble;
}

JoystickState SdlJoystick::Read() {
  JoystickState s;
  if (!IsOpen()) return s;
  if (controller_ != nullptr) {
    SDL_GameControllerUpdate();
    s.axisX = SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX);
    s.axisY = SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY);
    s.button1 = SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_A) != 0;
    s.button2 = SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_B) != 0;
    ApplyDpad(s, SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0,
              SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0,
              SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_UP) != 0,
              SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_DOWN) != 0);
  } else {
    SDL_JoystickUpdate();
    const int axes = SDL_JoystickNumAxes(joystick_);
    if (axes > 0) s.axisX = SDL_JoystickGetAxis(joystick_, 0);
    if (axes > 1) s.axisY = SDL_JoystickGetAxis(joystick_, 1);
    const int buttons = SDL_JoystickNumButtons(joystick_);
    s.button1 = buttons > 0 && SDL_JoystickGetButton(joystick_, 0) != 0;
    s.button2 = buttons > 1 && SDL_JoystickGetButton(joystick_, 1) != 0;
    if (SDL_JoystickNumHats(joystick_) > 0) {
      const Uint8 hat = SDL_JoystickGetHat(joystick_, 0);
      ApplyDpad(s, (hat & SDL_HAT_LEFT) != 0, (hat & SDL_HAT_RIGHT) != 0, (hat & SDL_HAT_UP) != 0,
                (hat & SDL_HAT_DOWN) != 0);
    }
  }
  if (feedback_ != Feedback::None && punch_.Fires(s.button1)) {
    const ForceShape jolt = PunchJolt();
    if (Play(kJolt, jolt, ForceEffectParams{})) s.triggered = jolt.AsFelt();
  }
  Update();
  return s;
}

std::vector<ForceEffectInfo> SdlJoystick::Effects() {
  std::vector<ForceEffectInfo> effects;
  if (feedback_ == Feedback::None) return effects;
  for (const ForceEffectName& e : kForceEffectNames) effects.push_back({e.name, e.guid});
  return effects;
}

std::vector<int32_t> SdlJoystick::TriggerButtons() {
  if (feedback_ == Feedback::None) return {};
  return {kFirstButtonOffset};
}

ForcePlay SdlJoystick::StartEffect(const std::string& guid, const ForceEffectParams& params) {
  const int slot = ForceEffectSlotOf(guid);
  if (slot < 0 || !IsOpen() || feedback_ == Feedback::None) return {};
  const ForceShape shape = ShapeOfEffect(slot, params);
  if (shape.armsTrigger) {
    punch_.Arm(true);
    return {true, shape.AsFelt()};
  }
  if (!Play(static_cast<size_t>(slot), shape, params)) return {};
  return {true, shape.AsFelt()};
}

bool SdlJoystick::Play(size_t index, const ForceShape& shape, const ForceEffectParams& params) {
  if (feedback_ == Feedback::Haptic) {
    // An effect too short to feel is taken, and plays nothing.
    return shape.Felt() <= 0 || StartHaptic(index, shape, params);
  }
  RumblePart& part = rumble_[index];
  part = RumblePart{shape, clock_(), shape.Felt() > 0};
  return UpdateRumble();
}

bool SdlJoystick::StartHaptic(size_t index, const ForceShape& shape, const ForceEffectParams& params) {
  SDL_HapticEffect e = HapticEffectFor(shape, params, hapticSupported_);
  int& id = hapticIds_[index];
  if (id >= 0 && SDL_HapticUpdateEffect(haptic_, id, &e) != 0) {
    // Some drivers refuse an update while the effect plays; make it afresh.
    SDL_HapticDestroyEffect(haptic_, id);
    id = -1;
  }
  if (id < 0) id = SDL_HapticNewEffect(haptic_, &e);
  if (id < 0) return false;
  return SDL_HapticRunEffect(haptic_, id, 1) == 0;
}

bool SdlJoystick::StopEffect(const std::string& guid, const ForceEffectParams& /*params*/) {
  const int slot = ForceEffectSlotOf(guid);
  if (slot < 0 || !IsOpen() || feedback_ == Feedback::None) return false;
  const auto index = static_cast<size_t>(slot);
  if (slot == kPunchedEffect) punch_.Arm(false);
  if (feedback_ == Feedback::Haptic) {
    const int id = hapticIds_[index];
    return id < 0 || SDL_HapticStopEffect(haptic_, id) == 0;
  }
  rumble_[index] = RumblePart{};
  return UpdateRumble();
}

bool SdlJoystick::Update() {
  if (feedback_ != Feedback::Rumble) return false;
  UpdateRumble();
  return std::any_of(rumble_.begin(), rumble_.end(), [](const RumblePart& p) { return p.active; });
}

bool SdlJoystick::UpdateRumble() {
  const uint64_t now = clock_();
  double large = 0;
  double small = 0;
  int64_t nextChange = -1;  // in the clock's milliseconds
  for (RumblePart& part : rumble_) {
    if (!part.active) continue;
    const auto t = static_cast<int64_t>(now - part.startMs);
    if (part.shape.ms >= 0 && t >= part.shape.ms) {
      part = RumblePart{};
      continue;
    }
    const MotorLevels levels = LevelsAt(part.shape, t);
    large = std::max(large, levels.large);
    small = std::max(small, levels.small);
    const int64_t change = NextChangeAfter(part.shape, t);
    if (change >= 0) {
      const auto at = static_cast<int64_t>(part.startMs) + change;
      nextChange = nextChange < 0 ? at : std::min(nextChange, at);
    }
  }
  const uint16_t largeStrength = MotorStrength(large);
  const uint16_t smallStrength = MotorStrength(small);
  // Silence stays silent without a word to the device.
  if (largeStrength == 0 && smallStrength == 0 && motorLarge_ == 0 && motorSmall_ == 0) return true;
  // The motors stop by themselves at the next change, should the game not look in on time; SDL
  // holds them at most about a minute, so effects until stopped are renewed on every update.
  const uint32_t duration = nextChange < 0 ? UINT32_MAX : static_cast<uint32_t>(nextChange - static_cast<int64_t>(now));
  if (Rumble(largeStrength, smallStrength, duration) != 0) return false;
  motorLarge_ = largeStrength;
  motorSmall_ = smallStrength;
  return true;
}

int SdlJoystick::Rumble(uint16_t large, uint16_t small, uint32_t durationMs) {
  if (controller_ != nullptr) return SDL_GameControllerRumble(controller_, large, small, durationMs);
  return SDL_JoystickRumble(joystick_, large, small, durationMs);
}

void SdlJoystick::Close() {
  if (haptic_ != nullptr) {
    // Closing the device destroys its effects.
    SDL_HapticClose(haptic_);
    haptic_ = nullptr;
  }
  if (joystick_ != nullptr && (motorLarge_ != 0 || motorSmall_ != 0)) Rumble(0, 0, 0);
  if (controller_ != nullptr) {
    SDL_GameControllerClose(controller_);
  } else if (joystick_ != nullptr) {
    SDL_JoystickClose(joystick_);
  }
  controller_ = nullptr;
  joystick_ = nullptr;
  feedback_ = Feedback::None;
  hapticSupported_ = 0;
  hapticIds_.fill(-1);
  rumble_.fill(RumblePart{});
  motorLarge_ = 0;
  motorSmall_ = 0;
  punch_ = PunchTrigger{};
  if (initFlags_ != 0) {
    SDL_QuitSubSystem(initFlags_);
    initFlags_ = 0;
    // The window code may still hold its own parts of SDL; the last one out quits it.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }
}

}  // namespace kav
