#include "base/shortest_double.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kav {

std::string ShortestDouble(double d) {
  // The fewest significant digits that round-trip; %.16e always does.
  char sci[40];
  int precision = 0;
  for (; precision < 17; ++precision) {
    std::snprintf(sci, sizeof sci, "%.*e", precision, d);
    if (std::strtod(sci, nullptr) == d) break;
  }
  const std::string_view s(sci);
  const bool negative = s.front() == '-';
  const size_t mantissaStart = negative ? 1 : 0;
  const size_t e = s.find('e');
  std::string digits;
  for (size_t i = mantissaStart; i < e; ++i) {
    if (s[i] != '.') digits += s[i];
  }
  const int exponent = std::atoi(sci + e + 1);
  const int n = static_cast<int>(digits.size());

  std::string fixed = negative ? "-" : "";
  if (exponent >= 0) {
    if (n <= exponent + 1) {
      fixed += digits;
      fixed.append(static_cast<size_t>(exponent + 1 - n), '0');
    } else {
      const size_t point = static_cast<size_t>(exponent) + 1;
      fixed += digits.substr(0, point);
      fixed += '.';
      fixed += digits.substr(point);
    }
  } else {
    fixed += "0.";
    fixed.append(static_cast<size_t>(-exponent - 1), '0');
    fixed += digits;
  }
  // printf's exponent form already has to_chars's shape: a sign and at least two digits.
  std::string exponentForm(s);
  if (fixed.size() > exponentForm.size()) return exponentForm;
  if (n <= exponent + 1) {
    // A whole number in fixed form shows all of its digits exactly, not the shortest ones padded.
    char whole[400];
    std::snprintf(whole, sizeof whole, "%.0f", d);
    return whole;
  }
  return fixed;
}

bool ParseDouble(std::string_view text, double& out) {
  if (text.empty() || text.front() == ' ' || text.front() == '+') return false;
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || errno == ERANGE) return false;
  out = value;
  return true;
}

}  // namespace kav
