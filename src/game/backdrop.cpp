#include "game/backdrop.h"

namespace kav {

void RestoreBackdrop(Game& g) {
  Blit(g.screen[Pic::picP].Image, 0, 0, kScreenWidth, kScreenHeight, g.screen[Pic::picBack].Image, 0, 0);
  g.screen.Refresh();
}

}  // namespace kav
