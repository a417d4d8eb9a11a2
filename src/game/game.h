#pragma once

#include <string>

#include "devices/display_mode.h"
#include "gfx/graphics.h"
#include "gfx/screen.h"
#include "platform/platform.h"
#include "records/records.h"
#include "stages/run_state.h"

namespace kav {

// The game's state register: every name of the game reachable from one object.
struct GameState : RunState, RecordState, GfxState, DeviceState {
  std::string AppDir;  // the program's directory, ending with '/'
};

// The running game: its state, the platform it runs on and the main window.
class Game : public GameState {
 public:
  explicit Game(Platform& platformRef) : platform(platformRef), screen(platformRef) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform& platform;
  Screen screen;
  // F4 acts once per press: the state it had when a loop last looked at it.
  bool f4WasDown = false;
};

// Today's date as "mm/dd" from the platform's calendar.
std::string Today(Game& g);

}  // namespace kav
