#include "platform/headless/headless_joystick.h"

#include <algorithm>
#include <array>

#include "platform/headless/bounded_log.h"

namespace kav {

bool HeadlessJoystick::Open() {
  if (!pad_.attached) return false;
  open_ = true;
  kind_ = pad_.kind;
  return true;
}

JoystickState HeadlessJoystick::Read() {
  if (!open_ || !pad_.attached) return JoystickState{};
  JoystickState s{pad_.axisX, pad_.axisY, pad_.button1, pad_.button2, std::nullopt};
  if (punch_.Fires(s.button1)) s.triggered = PunchJolt().AsFelt();
  return s;
}

std::vector<ForceEffectInfo> HeadlessJoystick::Effects() {
  std::vector<ForceEffectInfo> effects;
  if (!HasForceFeedback()) return effects;
  // The same texts the SDL pad reports, so traces read alike.
  for (const ForceEffectName& e : kForceEffectNames) {
    const bool idle = ForceEffectSlotOf(e.guid) == kDieselEngineIdleEffect;
    if (!idle || kind_ != HeadlessPad::Kind::HapticNoIdle) effects.push_back({e.name, e.guid});
  }
  return effects;
}

std::vector<int32_t> HeadlessJoystick::TriggerButtons() {
  if (!HasForceFeedback()) return {};
  return {kFirstButtonOffset};
}

bool HeadlessJoystick::Offers(const std::string& guid) {
  // An unplugged pad plays nothing, as a real one would refuse.
  if (!pad_.attached) return false;
  const std::vector<ForceEffectInfo> effects = Effects();
  return std::any_of(effects.begin(), effects.end(), [&](const ForceEffectInfo& e) { return e.guid == guid; });
}

ForcePlay HeadlessJoystick::StartEffect(const std::string& guid, const ForceEffectParams& params) {
  AppendBounded(log, EffectCall{guid, true, params});
  if (!Offers(guid)) return {};
  const int slot = ForceEffectSlotOf(guid);
  const ForceShape shape = ShapeOfEffect(slot, params);
  if (shape.armsTrigger) punch_.Arm(true);
  return {true, shape.AsFelt()};
}

bool HeadlessJoystick::StopEffect(const std::string& guid, const ForceEffectParams& params) {
  AppendBounded(log, EffectCall{guid, false, params});
  if (!Offers(guid)) return false;
  if (ForceEffectSlotOf(guid) == kPunchedEffect) punch_.Arm(false);
  return true;
}

}  // namespace kav
