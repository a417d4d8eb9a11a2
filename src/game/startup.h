#pragma once

#include "game/game.h"

namespace kav {

// The program from start to end. Never returns normally: the game ends by throwing GameExit
// (from ShutdownGame, or at once when another copy runs).
[[noreturn]] void Main(Game& g);

// The start-up half of Main, up to the point where the run loop begins.
void StartUp(Game& g);

}  // namespace kav
