#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/trace.h"

namespace kav {

// Compact JSON; doubles in their shortest form that reads back to the same value.
std::string ToJson(const TraceValue& value);
// One line of the trace: {"ev":kind,"t":ticks, fields...}.
std::string TraceLine(const TraceEvent& event, int32_t ticks);

// Reads one JSON value from the front of `text` and moves past it. On failure returns nullopt
// and says why in `error`.
std::optional<TraceValue> ParseJson(std::string_view& text, std::string& error);

}  // namespace kav
