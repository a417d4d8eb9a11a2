#pragma once

#include <concepts>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/messages.h"

namespace kav {

// What the game needs from the operating system, one small interface a concern. Game code never
// sees SDL; each platform (SDL, headless) implements every one of them. Passed by value: it only
// holds the references.
struct Platform {
  Platform(Clock& c, Display& d, Input& i, Files& f, Messages& m)
      : clock(c), display(d), input(i), files(f), messages(m) {}
  // A platform that implements all of them in one object (the headless one).
  template <class AllSides>
  requires(
      std::derived_from<AllSides, Clock>&& std::derived_from<AllSides, Display>&& std::derived_from<AllSides, Input>&&
          std::derived_from<AllSides, Files>&& std::derived_from<AllSides, Messages>)
      Platform(AllSides& sides)  // NOLINT(google-explicit-constructor): it is all of them
      : Platform(sides, sides, sides, sides, sides) {}

  Clock& clock;
  Display& display;
  Input& input;
  Files& files;
  Messages& messages;
};

}  // namespace kav
