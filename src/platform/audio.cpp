#include "platform/audio.h"

#include <cmath>

namespace kav {

double GainOfHundredthsDb(int32_t hundredths) {
  if (hundredths >= 0) return 1.0;
  return std::pow(10.0, static_cast<double>(hundredths) / 2000.0);
}

SideGains GainsOf(int32_t volume, int32_t pan) {
  const double level = GainOfHundredthsDb(volume);
  const double far = level * GainOfHundredthsDb(pan > 0 ? -pan : pan);
  return {pan > 0 ? far : level, pan < 0 ? far : level};
}

}  // namespace kav
