#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/trace.h"
#include "game/game.h"

namespace kav::runner {

// One variable of the state register, reachable by its name.
struct StateVar {
  std::string name;
  std::function<TraceValue()> get;
  // Both return an empty string on success, else what is wrong with the value.
  std::function<std::string(const TraceValue&)> set;
  // The value as `get` would write it once set to `want` (so that -1 and true, or 5 and 5.0,
  // compare alike), without setting anything.
  std::function<std::string(const TraceValue& want, TraceValue& normalised)> normalise;
};

// Every variable of the register, in the order the state event lists them.
std::vector<StateVar> StateVars(GameState& g);

// Numbers compare within 1e-9; everything else must be equal in shape and value.
bool SameValue(const TraceValue& a, const TraceValue& b);

// The `state` event's fields: vars, pics and dialog.
void AddStateFields(Game& g, const std::vector<StateVar>& vars, TraceEvent& event);

}  // namespace kav::runner
