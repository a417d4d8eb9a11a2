#pragma once

namespace kav {

// Thrown by the shutdown to end the program; main() catches it and exits with the status.
// Nothing else uses exceptions for control.
struct GameExit {
  int status = 0;
};

}  // namespace kav
