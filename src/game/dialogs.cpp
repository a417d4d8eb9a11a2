#include "game/dialogs.h"

namespace kav {

std::string ShowDialog(Game& g, const std::string& text, std::string& caption, const std::string& buttons,
                       const std::string& icon) {
  DialogHost host{g.platform, g.screen, *g.textInput, g.fonts, g.trace, g, g.dialog, g.DevicesReady,
                  // The joystick is not read yet: the poll finds nothing.
                  []() { return JoystickPoll{}; }};
  return ShowDialog(g.dialogWindow, host, text, caption, buttons, icon);
}

}  // namespace kav
