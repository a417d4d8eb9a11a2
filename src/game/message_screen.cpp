#include "game/message_screen.h"

#include <cmath>

namespace kav {

void CentreMessageWindow(Game& g) {
  const Control& picP = g.screen[Pic::picP];
  Control& window = g.screen[Pic::Picture4];
  const double left = picP.Width() / 2.0 - window.Width() / 2.0;
  const double top = picP.Height() / 2.0 - window.Height() / 2.0;
  window.Move(static_cast<int32_t>(std::nearbyint(left)), static_cast<int32_t>(std::nearbyint(top)));
}

}  // namespace kav
