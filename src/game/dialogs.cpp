#include "game/dialogs.h"

#include "game/devices.h"

namespace kav {

std::string ShowDialog(Game& g, const std::string& text, std::string& caption, const std::string& buttons,
                       const std::string& icon) {
  // The dialog is drawn inside the main window, so a question asked before the window is
  // shown (the entry name at start-up) shows it first.
  g.platform.ShowMainWindow();
  DialogHost host{g.platform, g.screen, *g.textInput, g.fonts, g.trace, g, g.dialog, g.DevicesReady, [&g]() {
                    JoystickPoll poll;
                    PollJoystick(g, poll.x, poll.y, poll.button);
                    return poll;
                  }};
  return ShowDialog(g.dialogWindow, host, text, caption, buttons, icon);
}

}  // namespace kav
