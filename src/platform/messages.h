#pragma once

#include <string>

namespace kav {

// Telling the player about a fault that ends the game (a missing picture, say).
class Messages {
 public:
  virtual ~Messages() = default;
  virtual void ShowFatalMessage(const std::string& title, const std::string& text) = 0;
};

}  // namespace kav
