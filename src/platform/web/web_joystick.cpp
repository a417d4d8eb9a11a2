#include "platform/web/web_joystick.h"

#include <algorithm>

#include "platform/web/web_js.h"

namespace kav {
namespace {

int64_t NowMs() {
  return static_cast<int64_t>(kav_web_now());
}

}  // namespace

bool WebJoystick::Open() {
  const int found = kav_web_pad_open();
  open_ = found != 0;
  rumbles_ = found == 2;
  return open_;
}

JoystickState WebJoystick::Read() {
  JoystickState s;
  if (!open_) return s;
  int32_t state[4] = {};
  if (kav_web_pad_read(state) == 0) return s;
  s.axisX = state[0];
  s.axisY = state[1];
  s.button1 = state[2] != 0;
  s.button2 = state[3] != 0;
  if (rumbles_ && punch_.Fires(s.button1)) {
    const ForceShape jolt = PunchJolt();
    parts_[kJolt] = Part{jolt, NowMs(), true};
    s.triggered = jolt.AsFelt();
  }
  Update();
  return s;
}

std::vector<ForceEffectInfo> WebJoystick::Effects() {
  std::vector<ForceEffectInfo> effects;
  if (!rumbles_) return effects;
  for (const ForceEffectName& e : kForceEffectNames) effects.push_back({e.name, e.guid});
  return effects;
}

std::vector<int32_t> WebJoystick::TriggerButtons() {
  if (!rumbles_) return {};
  return {kFirstButtonOffset};
}

ForcePlay WebJoystick::StartEffect(const std::string& guid, const ForceEffectParams& params) {
  const int slot = ForceEffectSlotOf(guid);
  if (slot < 0 || !open_ || !rumbles_) return {};
  const ForceShape shape = ShapeOfEffect(slot, params);
  if (shape.armsTrigger) {
    punch_.Arm(true);
  } else {
    parts_[static_cast<size_t>(slot)] = Part{shape, NowMs(), true};
    Update();
  }
  return {true, shape.AsFelt()};
}

bool WebJoystick::StopEffect(const std::string& guid, const ForceEffectParams& /*params*/) {
  const int slot = ForceEffectSlotOf(guid);
  if (slot < 0 || !open_ || !rumbles_) return false;
  if (slot == kPunchedEffect) punch_.Arm(false);
  parts_[static_cast<size_t>(slot)] = Part{};
  Update();
  return true;
}

bool WebJoystick::Update() {
  if (!rumbles_) return false;
  const int64_t now = NowMs();
  double large = 0;
  double small = 0;
  int64_t nextChange = -1;
  bool playing = false;
  for (Part& part : parts_) {
    if (!part.active) continue;
    const int64_t t = now - part.startMs;
    if (part.shape.ms >= 0 && t >= part.shape.ms) {
      part = Part{};
      continue;
    }
    playing = true;
    const MotorLevels levels = LevelsAt(part.shape, t);
    large = std::max(large, levels.large);
    small = std::max(small, levels.small);
    const int64_t change = NextChangeAfter(part.shape, t);
    if (change >= 0) nextChange = nextChange < 0 ? part.startMs + change : std::min(nextChange, part.startMs + change);
  }
  // The actuator plays for a given time only: the motors are told again when the levels change,
  // and an effect until stopped is renewed before its hold runs out, should the game not look in.
  constexpr int kHoldMs = 5000;
  constexpr int kRenewMs = 1000;
  const bool changed = large != large_ || small != small_;
  // Only a hold cut short by kHoldMs needs renewing; a shorter one ends where the levels change.
  const bool renew = heldShort_ && (large != 0 || small != 0) && now >= sentUntil_ - kRenewMs;
  if (changed || renew) {
    heldShort_ = nextChange < 0 || nextChange - now > kHoldMs;
    const int ms = heldShort_ ? kHoldMs : static_cast<int>(std::max<int64_t>(nextChange - now, 1));
    kav_web_pad_rumble(large, small, large == 0 && small == 0 ? 0 : ms);
    sentUntil_ = now + ms;
  }
  large_ = large;
  small_ = small;
  return playing;
}

void WebJoystick::Close() {
  if (open_ && (large_ != 0 || small_ != 0)) kav_web_pad_rumble(0, 0, 0);
  if (open_) kav_web_pad_close();
  open_ = false;
  rumbles_ = false;
  parts_.fill(Part{});
  large_ = 0;
  small_ = 0;
  sentUntil_ = 0;
  heldShort_ = false;
  punch_ = PunchTrigger{};
}

}  // namespace kav
