#pragma once

#include <cstdint>

namespace kav {

// The milliseconds from `earlier` to `later` on the tick counter, which wraps from 2^31 - 1 to
// -2^31: the difference is taken modulo 2^32, so a wrap in between still gives the right span.
constexpr int32_t TickDiff(int32_t later, int32_t earlier) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

// `ticks` moved on by `ms`, wrapping like the counter.
constexpr int32_t TickAdd(int32_t ticks, int32_t ms) {
  return static_cast<int32_t>(static_cast<uint32_t>(ticks) + static_cast<uint32_t>(ms));
}

}  // namespace kav
