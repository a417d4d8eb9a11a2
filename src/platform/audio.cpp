#include "platform/audio.h"

#include <cmath>

namespace kav {

double GainOfHundredthsDb(int32_t hundredths) {
  if (hundredths >= 0) return 1.0;
  return std::pow(10.0, static_cast<double>(hundredths) / 2000.0);
}

}  // namespace kav
