#include "platform/headless/headless_joystick.h"

#include <algorithm>
#include <array>

#include "platform/headless/bounded_log.h"

namespace kav {

namespace {

// The same texts the SDL pad reports, so traces read alike.
constexpr std::array<const char*, 4> kNames{"Constant Force", "OutOfAmmo", "Punched", "DieselEngineIdle"};
constexpr std::array<const char*, 4> kGuids{
    "{4B415652-0000-0000-0000-000000000001}",
    "{4B415652-0000-0000-0000-000000000002}",
    "{4B415652-0000-0000-0000-000000000003}",
    "{4B415652-0000-0000-0000-000000000004}",
};
constexpr int32_t kFirstButtonOffset = 48;

}  // namespace

bool HeadlessJoystick::Open() {
  if (!pad_.attached) return false;
  open_ = true;
  kind_ = pad_.kind;
  return true;
}

JoystickState HeadlessJoystick::Read() {
  if (!open_ || !pad_.attached) return JoystickState{};
  return JoystickState{pad_.axisX, pad_.axisY, pad_.button1, pad_.button2};
}

std::vector<ForceEffectInfo> HeadlessJoystick::Effects() {
  std::vector<ForceEffectInfo> effects;
  if (!HasForceFeedback()) return effects;
  const size_t count = kind_ == HeadlessPad::Kind::HapticNoIdle ? kNames.size() - 1 : kNames.size();
  for (size_t i = 0; i < count; ++i) effects.push_back({kNames[i], kGuids[i]});
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

bool HeadlessJoystick::StartEffect(const std::string& guid, const ForceEffectParams& params) {
  AppendBounded(log, EffectCall{guid, true, params});
  return Offers(guid);
}

bool HeadlessJoystick::StopEffect(const std::string& guid, const ForceEffectParams& params) {
  AppendBounded(log, EffectCall{guid, false, params});
  return Offers(guid);
}

}  // namespace kav
