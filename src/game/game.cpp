#include "game/game.h"

namespace kav {

std::string Today(Game& g) {
  int month = 1;
  int day = 1;
  g.platform.clock.LocalDate(month, day);
  return FormatMonthDay(month, day);
}

}  // namespace kav
