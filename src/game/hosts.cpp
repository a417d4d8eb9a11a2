#include "game/hosts.h"

#include "game/devices.h"
#include "game/shutdown.h"

namespace kav {

StageHost Stages(Game& g) {
  // The ferry sequence comes with the scripted stage sequences; until then a landing on the
  // boat runs nothing more.
  return StageHost{g, g, g.screen, g.platform, Sounds(g), Inputs(g), g.trace, [] {}};
}

MessageHost Messages(Game& g) {
  return MessageHost{g.platform,
                     g.screen,
                     g,
                     g.trace,
                     [&g] { PlaySoundSlot(g, 8, kTrue, kFalse); },
                     [&g] {
                       JoystickPoll poll;
                       PollJoystick(g, poll.x, poll.y, poll.button);
                       return poll;
                     },
                     [&g] { ShutdownGame(g); },
                     [&g] {
                       PlaySoundSlot(g, 8, kFalse, kFalse);
                       // The message window sets the position on the buffer itself, past the switch.
                       g.audio->Rewind(8);
                       g.trace.Emit("sound", [](TraceEvent& e) { e.Add("op", "rewind").Add("slot", 8); });
                     }};
}

}  // namespace kav
