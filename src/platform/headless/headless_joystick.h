#pragma once

#include <cstdint>

namespace kav {

// The pad the runner's `pad` commands drive: whether one is plugged in, what it can do, and its
// raw axes and two buttons. The game finds it when it opens its input devices.
struct HeadlessPad {
  enum class Kind { Plain, Rumble, Haptic, HapticNoIdle };
  bool attached = false;
  Kind kind = Kind::Plain;
  int32_t axisX = 0;  // -32768..32767
  int32_t axisY = 0;
  bool button1 = false;
  bool button2 = false;
};

}  // namespace kav
