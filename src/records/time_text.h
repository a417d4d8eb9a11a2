#pragma once

#include <cstdint>
#include <string>

namespace kav {

// A time in milliseconds as every screen shows it: seconds with two decimals ("#.00", no
// digit before the point below a second), right-aligned in six characters; longer texts
// keep their last six.
std::string TimeText(int32_t ms);

}  // namespace kav
