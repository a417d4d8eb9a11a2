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
#include "recording/session_recorder.h"
#include "sdl_watch.h"

namespace {

constexpr const char* kUsage = "usage: kavrona [--lang ja|en] [--trace FILE] [--record FILE | --play FILE]\n";

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
  std::string recordPath;
  std::string playPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0 && i + 1 < argc) {
      tracePath = argv[++i];
    } else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc && kav::LanguageNamed(argv[i + 1])) {
      language = kav::LanguageNamed(argv[++i]);
    } else if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc) {
      recordPath = argv[++i];
    } else if (std::strcmp(argv[i], "--play") == 0 && i + 1 < argc) {
      playPath = argv[++i];
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (!playPath.empty()) {
    if (!recordPath.empty()) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    return kav::WatchRecording(playPath, tracePath);
  }
  const kav::Language chosen = language ? *language : LanguageFromEnvironment();

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
  // Every session is recorded, so that a new best time can be kept with its recording.
  kav::recording::SessionRecorder recorder(platform.Sides(), audio, joystick);
  recorder.SetLanguage(chosen);
  const auto finish = [&recorder, &recordPath](int status) {
    std::string error;
    if (!recorder.Finish(status, recordPath, error)) std::fprintf(stderr, "kavrona: %s\n", error.c_str());
    return status;
  };
  // Each wait shows the frame drawn before it and keeps the pad's pulses going.
  platform.display.SetPresentAtWait(true);
  platform.clock.SetIdleTask([&platform, &joystick] {
    platform.display.ShowPending();
    return joystick.Update();
  });
  try {
    kav::Game game(recorder.Sides());
    game.texts = kav::TextsOf(chosen);
    game.fonts = fonts.get();
    game.textInput = &textInput;
    game.audio = &recorder.audio();
    game.joystick = &recorder.joystick();
    recorder.Attach(game, traceFile.get());
    if (traceFile) game.trace.Emit("start", [](kav::TraceEvent& e) { e.Add("version", kav::kTraceVersion); });
    kav::Main(game);
  } catch (const kav::GameExit& exit) {
    return finish(exit.status);
  } catch (const kav::AssetError& e) {
    platform.messages.ShowFatalMessage("Kavrona", e.what());
    return finish(1);
  } catch (const std::exception& e) {
    platform.messages.ShowFatalMessage("Kavrona", e.what());
    return finish(1);
  }
  return finish(0);
}
