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
                     [&g] { ShutdownGame(g); }};
}

}  // namespace kav
