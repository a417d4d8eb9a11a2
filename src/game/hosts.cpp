#include "game/hosts.h"

#include "devices/sound_rewind.h"
#include "game/devices.h"
#include "game/shutdown.h"
#include "stages/sequences.h"

namespace kav {

StageHost Stages(Game& g) {
  // The landing on the boat lifts off by itself once the ferry is over.
  return StageHost{g, g, g.screen, g.platform, Sounds(g), Inputs(g), g.trace, [&g] {
                     StageHost host = Stages(g);
                     FerrySequence(host);
                   }};
}

MessageHost Messages(Game& g) {
  return MessageHost{g.platform,
                     g.screen,
                     g,
                     g.trace,
                     [&g] { PlaySoundSlot(g, kTickSound, kTrue, kFalse); },
                     [&g] {
                       JoystickPoll poll;
                       PollJoystick(g, poll.x, poll.y, poll.button);
                       return poll;
                     },
                     [&g] { ShutdownGame(g); },
                     [&g] {
                       PlaySoundSlot(g, kTickSound, kFalse, kFalse);
                       // The message window sets the position on the buffer itself, past the switch.
                       RewindSoundSlot(Sounds(g), kTickSound);
                     },
                     g.texts};
}

}  // namespace kav
