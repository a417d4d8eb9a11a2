#include "platform/sdl/sdl_messages.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace kav {

namespace {

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

bool EnvIs(const char* name, const char* expected) {
  const char* value = std::getenv(name);
  return value != nullptr && SDL_strcasecmp(value, expected) == 0;
}

// A message box needs a real display; without one SDL could fail slowly or wait for a click
// nobody can give.
bool MessageBoxPossible() {
  if (EnvIs("SDL_VIDEODRIVER", "offscreen") || EnvIs("SDL_VIDEODRIVER", "dummy")) {
    return false;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
      return false;
    }
  }
  return EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY");
}

}  // namespace

void SdlMessages::ShowFatalMessage(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  if (!MessageBoxPossible()) {
    return;
  }
  // A box behind a full-screen window would leave the player looking at a frozen game.
  if (display_.IsFullScreen()) {
    SDL_SetWindowFullscreen(display_.NativeWindow(), 0);
  }
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), display_.NativeWindow());
}

}  // namespace kav
