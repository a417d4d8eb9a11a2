#include "records/time_text.h"

#include <cstdlib>

namespace kav {

std::string TimeText(int32_t ms) {
  // Whole milliseconds have three decimals; a third digit of 5 rounds away from zero, as the
  // format pattern does.
  const int64_t magnitude = std::llabs(static_cast<int64_t>(ms));
  const int64_t cents = (magnitude + 5) / 10;
  std::string text = ms < 0 && cents != 0 ? "-" : "";
  if (cents >= 100) text += std::to_string(cents / 100);
  const int64_t fraction = cents % 100;
  text += '.';
  text += static_cast<char>('0' + fraction / 10);
  text += static_cast<char>('0' + fraction % 10);
  text.insert(0, "     ");
  return text.substr(text.size() - 6);
}

}  // namespace kav
