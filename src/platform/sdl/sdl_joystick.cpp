#include "platform/sdl/sdl_joystick.h"

#include <algorithm>
#include <cstdlib>

namespace kav {

namespace {

// The effects the game looks for by name. SDL has no texts for effects, so the GUIDs are ours;
// they only have to stay the same from run to run.
struct EffectName {
  const char* name;
  const char* guid;
};
constexpr std::array<EffectName, 4> kEffects{{
    {"Constant Force", "{4B415652-0000-0000-0000-000000000001}"},
    {"OutOfAmmo", "{4B415652-0000-0000-0000-000000000002}"},
    {"Punched", "{4B415652-0000-0000-0000-000000000003}"},
    {"DieselEngineIdle", "{4B415652-0000-0000-0000-000000000004}"},
}};

constexpr int64_t kFull = 10000;
// A stick reading closer to the centre than this leaves the axis to the d-pad.
constexpr int kStickCentre = 8000;
// Wave length of the periodic stand-in for a constant force.
constexpr uint16_t kSinePeriodMs = 50;
// The data offset of the first button in the classic joystick state layout.
constexpr int32_t kFirstButtonOffset = 48;

int EffectIndex(const std::string& guid) {
  for (size_t i = 0; i < kEffects.size(); ++i) {
    if (guid == kEffects[i].guid) return static_cast<int>(i);
  }
  return -1;
}

// The d-pad or hat reads as a full throw, but only while the stick is left alone.
void ApplyDpad(JoystickState& s, bool left, bool right, bool up, bool down) {
  if (std::abs(s.axisX) >= kStickCentre || std::abs(s.axisY) >= kStickCentre) return;
  if (left != right) s.axisX = left ? -32768 : 32767;
  if (up != down) s.axisY = up ? -32768 : 32767;
}

}  // namespace

int16_t HapticLevel(const ForceEffectParams& params) {
  const int64_t magnitude = std::clamp<int64_t>(params.magnitude, -kFull, kFull);
  const int64_t gain = std::clamp<int64_t>(params.gain, 0, kFull);
  return static_cast<int16_t>(magnitude * 32767 * gain / (kFull * kFull));
}

uint16_t RumbleStrength(const ForceEffectParams& params) {
  const int64_t magnitude = std::min<int64_t>(std::abs(static_cast<int64_t>(params.magnitude)), kFull);
  const int64_t gain = std::clamp<int64_t>(params.gain, 0, kFull);
  return static_cast<uint16_t>(magnitude * 0xFFFF * gain / (kFull * kFull));
}

uint32_t EffectLengthMs(const ForceEffectParams& params) {
  // Any negative duration is the game's "infinite" (0xFFFFFFFF read as signed).
  if (params.durationUs < 0) return SDL_HAPTIC_INFINITY;
  return static_cast<uint32_t>(params.durationUs / 1000);
}

SDL_HapticEffect HapticEffectFor(uint16_t type, const ForceEffectParams& params) {
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
  const uint32_t length = EffectLengthMs(params);
  const int16_t level = HapticLevel(params);
  if (type == SDL_HAPTIC_SINE) {
    e.periodic.type = SDL_HAPTIC_SINE;
    e.periodic.direction = direction;
    e.periodic.length = length;
    e.periodic.period = kSinePeriodMs;
    // A wave has no sign; the direction carries it.
    e.periodic.magnitude = static_cast<int16_t>(std::abs(static_cast<int>(level)));
  } else if (type == SDL_HAPTIC_LEFTRIGHT) {
    e.leftright.type = SDL_HAPTIC_LEFTRIGHT;
    e.leftright.length = length;
    e.leftright.large_magnitude = RumbleStrength(params);
    e.leftright.small_magnitude = RumbleStrength(params);
  } else {
    e.constant.type = SDL_HAPTIC_CONSTANT;
    e.constant.direction = direction;
    e.constant.length = length;
    e.constant.level = level;
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
  if (haptic_ != nullptr) {
    const unsigned int supported = SDL_HapticQuery(haptic_);
    for (uint16_t type : {SDL_HAPTIC_CONSTANT, SDL_HAPTIC_SINE, SDL_HAPTIC_LEFTRIGHT}) {
      if ((supported & type) != 0) {
        hapticType_ = type;
        break;
      }
    }
    if (hapticType_ != 0 && SDL_HapticNumEffects(haptic_) > 0) {
      if ((supported & SDL_HAPTIC_GAIN) != 0) SDL_HapticSetGain(haptic_, 100);
      feedback_ = Feedback::Haptic;
      return;
    }
    SDL_HapticClose(haptic_);
    haptic_ = nullptr;
    hapticType_ = 0;
  }
  const bool rumbles = controller_ != nullptr ? SDL_GameControllerHasRumble(controller_) == SDL_TRUE
                                              : SDL_JoystickHasRumble(joystick_) == SDL_TRUE;
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
  // Ends finished effects, and keeps effects that run until stopped going past SDL's own limit.
  if (feedback_ == Feedback::Rumble) UpdateRumble();
  return s;
}

std::vector<ForceEffectInfo> SdlJoystick::Effects() {
  std::vector<ForceEffectInfo> effects;
  if (feedback_ == Feedback::None) return effects;
  for (const EffectName& e : kEffects) effects.push_back({e.name, e.guid});
  return effects;
}

std::vector<int32_t> SdlJoystick::TriggerButtons() {
  if (feedback_ == Feedback::None) return {};
  return {kFirstButtonOffset};
}

bool SdlJoystick::StartEffect(const std::string& guid, const ForceEffectParams& params) {
  const int index = EffectIndex(guid);
  if (index < 0 || !IsOpen()) return false;
  const auto effect = static_cast<size_t>(index);
  if (feedback_ == Feedback::Haptic) return StartHaptic(effect, params);
  if (feedback_ != Feedback::Rumble) return false;
  const uint32_t length = EffectLengthMs(params);
  RumblePart& part = rumble_[effect];
  part = RumblePart{};
  if (length != 0) {
    part.strength = RumbleStrength(params);
    part.untilStopped = length == SDL_HAPTIC_INFINITY;
    part.endMs = SDL_GetTicks64() + length;
  }
  return UpdateRumble();
}

bool SdlJoystick::StartHaptic(size_t effect, const ForceEffectParams& params) {
  SDL_HapticEffect e = HapticEffectFor(hapticType_, params);
  int& id = hapticIds_[effect];
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
  const int index = EffectIndex(guid);
  if (index < 0 || !IsOpen()) return false;
  const auto effect = static_cast<size_t>(index);
  if (feedback_ == Feedback::Haptic) {
    const int id = hapticIds_[effect];
    return id < 0 || SDL_HapticStopEffect(haptic_, id) == 0;
  }
  if (feedback_ != Feedback::Rumble) return false;
  rumble_[effect] = RumblePart{};
  return UpdateRumble();
}

bool SdlJoystick::UpdateRumble() {
  const uint64_t now = SDL_GetTicks64();
  uint16_t strength = 0;
  uint32_t duration = 0;
  for (RumblePart& part : rumble_) {
    if (part.strength == 0) continue;
    if (!part.untilStopped && part.endMs <= now) {
      part = RumblePart{};
      continue;
    }
    const uint32_t left = part.untilStopped ? UINT32_MAX : static_cast<uint32_t>(part.endMs - now);
    if (part.strength > strength) {
      strength = part.strength;
      duration = left;
    } else if (part.strength == strength) {
      duration = std::max(duration, left);
    }
  }
  // Silence stays silent without a word to the device.
  if (strength == 0 && motors_ == 0) return true;
  if (Rumble(strength, duration) != 0) return false;
  motors_ = strength;
  return true;
}

int SdlJoystick::Rumble(uint16_t strength, uint32_t durationMs) {
  if (controller_ != nullptr) return SDL_GameControllerRumble(controller_, strength, strength, durationMs);
  return SDL_JoystickRumble(joystick_, strength, strength, durationMs);
}

void SdlJoystick::Close() {
  if (haptic_ != nullptr) {
    // Closing the device destroys its effects.
    SDL_HapticClose(haptic_);
    haptic_ = nullptr;
  }
  if (joystick_ != nullptr && motors_ != 0) Rumble(0, 0);
  if (controller_ != nullptr) {
    SDL_GameControllerClose(controller_);
  } else if (joystick_ != nullptr) {
    SDL_JoystickClose(joystick_);
  }
  controller_ = nullptr;
  joystick_ = nullptr;
  feedback_ = Feedback::None;
  hapticType_ = 0;
  hapticIds_.fill(-1);
  rumble_.fill(RumblePart{});
  motors_ = 0;
  if (initFlags_ != 0) {
    SDL_QuitSubSystem(initFlags_);
    initFlags_ = 0;
    // The window code may still hold its own parts of SDL; the last one out quits it.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }
}

}  // namespace kav
