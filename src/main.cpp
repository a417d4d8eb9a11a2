#include <cstdio>
#include <exception>
#include <memory>

#include "game/artwork.h"
#include "game/startup.h"
#include "platform/game_exit.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_joystick.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_text_input.h"
#include "platform/ttf_fonts.h"

int main() {
  kav::SdlPlatform platform;
  std::string fontError;
  std::unique_ptr<kav::Fonts> fonts = kav::OpenFonts(fontError);
  if (!fonts) {
    platform.messages.ShowFatalMessage("Kavrona", fontError);
    return 1;
  }
  kav::SdlTextInput textInput(platform.display);
  kav::SdlAudio audio;
  kav::SdlJoystick joystick;
  platform.clock.SetIdleTask([&joystick] { joystick.Update(); });
  try {
    kav::Game game(platform.Sides());
    game.fonts = fonts.get();
    game.textInput = &textInput;
    game.audio = &audio;
    game.joystick = &joystick;
    kav::Main(game);
  } catch (const kav::GameExit& exit) {
    return exit.status;
  } catch (const kav::AssetError& e) {
    platform.messages.ShowFatalMessage("Kavrona", e.what());
    return 1;
  } catch (const std::exception& e) {
    platform.messages.ShowFatalMessage("Kavrona", e.what());
    return 1;
  }
  return 0;
}
