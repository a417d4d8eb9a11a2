#pragma once

#include <cstdint>

namespace kav {

// The game's Booleans are 16-bit integers that hold only these two values.
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

}  // namespace kav
