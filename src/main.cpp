#include <exception>

#include "game/artwork.h"
#include "game/startup.h"
#include "platform/game_exit.h"
#include "platform/sdl/sdl_platform.h"

int main() {
  kav::SdlPlatform platform;
  try {
    kav::Game game(platform);
    kav::Main(game);
  } catch (const kav::GameExit& exit) {
    return exit.status;
  } catch (const kav::AssetError& e) {
    platform.ShowFatalMessage("Kavrona", e.what());
    return 1;
  } catch (const std::exception& e) {
    platform.ShowFatalMessage("Kavrona", e.what());
    return 1;
  }
  return 0;
}
