#pragma once

#include <string>

#include "platform/messages.h"
#include "platform/sdl/sdl_display.h"

namespace kav {

// A fault that ends the game: on standard error, and in a message box where there is a display.
class SdlMessages final : public Messages {
 public:
  explicit SdlMessages(SdlDisplay& display) : display_(display) {}
  void ShowFatalMessage(const std::string& title, const std::string& text) override;

 private:
  SdlDisplay& display_;
};

}  // namespace kav
