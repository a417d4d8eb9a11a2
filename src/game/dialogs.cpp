#include "game/dialogs.h"

#include "game/devices.h"
#include "game/shutdown.h"

namespace kav {
namespace {

constexpr int32_t kReleasePassMs = 4;

// The dialog answers as a key goes down; the game's own polling must not take the same
// press for a second one (Escape would end the game, Enter skip the next briefing).
void WaitForAnswerRelease(Game& g) {
  Platform& p = g.platform;
  for (;;) {
    bool held = p.input.KeyDown(kVkReturn) || p.input.KeyDown(kVkEscape) || p.input.KeyDown(kVkSpace);
    if (g.DevicesReady != kFalse) {
      JoystickPoll poll;
      PollJoystick(g, poll.x, poll.y, poll.button);
      held = held || poll.button == 1;
    }
    if (!held) return;
    if (p.input.ClosePending()) ShutdownGame(g);
    p.clock.Sleep(kReleasePassMs);
  }
}

}  // namespace

std::string ShowDialog(Game& g, const std::string& text, std::string& caption, const std::string& buttons,
                       const std::string& icon) {
  // The dialog is drawn inside the main window, so a question asked before the window is
  // shown (the entry name at start-up) shows it first.
  g.platform.display.ShowMainWindow();
  DialogHost host{g.platform,
                  g.screen,
                  *g.textInput,
                  g.fonts,
                  g.trace,
                  g,
                  g.dialog,
                  g.DevicesReady,
                  [&g]() {
                    JoystickPoll poll;
                    PollJoystick(g, poll.x, poll.y, poll.button);
                    return poll;
                  },
                  g.texts};
  std::string answer = ShowDialog(g.dialogWindow, host, text, caption, buttons, icon);
  WaitForAnswerRelease(g);
  return answer;
}

}  // namespace kav
