#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "base/game_exit.h"
#include "base/texts.h"
#include "base/ticks.h"
#include "base/trace_file.h"
#include "game/artwork.h"
#include "game/startup.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_joystick.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_text_input.h"
#include "platform/ttf_fonts.h"

namespace {

constexpr const char* kUsage = "usage: kavrona [--lang ja|en] [--trace FILE]\n";

// KAVRONA_LANG chooses when --lang does not; a value it does not know plays in Japanese.
kav::Language LanguageFromEnvironment() {
  const char* code = std::getenv("KAVRONA_LANG");
  if (code == nullptr || *code == '\0') return kav::Language::kJapanese;
  if (const auto language = kav::LanguageNamed(code)) return *language;
  std::fprintf(stderr, "kavrona: KAVRONA_LANG=%s is no language of the game (ja or en); playing in Japanese\n", code);
  return kav::Language::kJapanese;
}

}  // namespace

int main(int argc, char** argv) {
  std::string tracePath;
  std::optional<kav::Language> language;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0 && i + 1 < argc) {
      tracePath = argv[++i];
    } else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc && kav::LanguageNamed(argv[i + 1])) {
      language = kav::LanguageNamed(argv[++i]);
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }

  kav::SdlPlatform platform;
  // What the runner writes, with t in real milliseconds since the start; nothing at all when
  // not asked for.
  std::unique_ptr<kav::TraceFile> traceFile;
  if (!tracePath.empty()) {
    const int32_t start = platform.clock.Ticks();
    traceFile = std::make_unique<kav::TraceFile>(
        tracePath, [&platform, start] { return kav::TickDiff(platform.clock.Ticks(), start); });
    if (!traceFile->IsOpen()) {
      std::fprintf(stderr, "kavrona: cannot write the trace to %s\n", tracePath.c_str());
      return 2;
    }
  }
  std::string fontError;
  std::unique_ptr<kav::Fonts> fonts = kav::OpenFonts(fontError);
  if (!fonts) {
    platform.messages.ShowFatalMessage("Kavrona", fontError);
    return 1;
  }
  kav::SdlTextInput textInput(platform.display);
  kav::SdlAudio audio;
  kav::SdlJoystick joystick;
  // Each wait shows the frame drawn before it and keeps the pad's pulses going.
  platform.display.SetPresentAtWait(true);
  platform.clock.SetIdleTask([&platform, &joystick] {
    platform.display.ShowPending();
    return joystick.Update();
  });
  try {
    kav::Game game(platform.Sides());
    game.texts = kav::TextsOf(language ? *language : LanguageFromEnvironment());
    game.fonts = fonts.get();
    game.textInput = &textInput;
    game.audio = &audio;
    game.joystick = &joystick;
    if (traceFile) {
      game.trace = kav::Trace(traceFile.get());
      game.trace.Emit("start", [](kav::TraceEvent& e) { e.Add("version", kav::kTraceVersion); });
    }
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
