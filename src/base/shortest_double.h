#pragma once

#include <string>
#include <string_view>

namespace kav {

// The shortest text that reads back to the same double, fixed or exponent form as std::to_chars
// chooses (the shorter, fixed on a tie). Built on printf and strtod, since not every standard
// library we build with has floating-point to_chars and from_chars.
std::string ShortestDouble(double d);

// The whole of `text` as a double; false for anything else, and for values out of range.
bool ParseDouble(std::string_view text, double& out);

}  // namespace kav
