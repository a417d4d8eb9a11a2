// The game in the browser: the same Main on the web platform. The page passes its URL's options
// as arguments: --trace (?trace=1) and --lang LANG (the page's language switch).
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "base/game_exit.h"
#include "base/texts.h"
#include "base/ticks.h"
#include "game/artwork.h"
#include "game/startup.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_clock.h"
#include "platform/web/web_display.h"
#include "platform/web/web_files.h"
#include "platform/web/web_fonts.h"
#include "platform/web/web_input.h"
#include "platform/web/web_joystick.h"
#include "platform/web/web_js.h"
#include "platform/web/web_text_input.h"
#include "platform/web/web_trace.h"

namespace {

int Ended(int status) {
  kav_web_ended(status);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  bool trace = false;
  kav::Language language = kav::Language::kJapanese;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0) {
      trace = true;
    } else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
      const auto named = kav::LanguageNamed(argv[++i]);
      if (!named) {
        kav_web_fatal("Kavrona", (std::string("The game has no texts in the language ") + argv[i]).c_str());
        return Ended(2);
      }
      language = *named;
    } else {
      kav_web_fatal("Kavrona", (std::string("Unknown option ") + argv[i]).c_str());
      return Ended(2);
    }
  }

  kav::WebClock clock;
  kav::WebDisplay display;
  kav::WebInput input;
  kav::WebFiles files;
  kav::WebMessages messages;
  kav::WebFonts fonts;
  kav::WebTextInput textInput;
  kav::WebAudio audio;
  kav::WebJoystick joystick;
  const int32_t start = clock.Ticks();
  kav::WebTrace traceSink([&clock, start] { return kav::TickDiff(clock.Ticks(), start); });
  // Each wait puts the last frame on the canvas; each sleep keeps the pad's pulses going.
  clock.SetIdleTask([&display, &joystick] {
    display.Flush();
    return joystick.Update();
  });
  input.SetIdleTask([&display] { display.Flush(); });
  input.SetPadInUse([&joystick] { return joystick.IsOpen(); });
  try {
    kav::Game game(kav::Platform{clock, display, input, files, messages});
    game.texts = kav::TextsOf(language);
    game.fonts = &fonts;
    game.textInput = &textInput;
    game.audio = &audio;
    game.joystick = &joystick;
    if (trace) {
      game.trace = kav::Trace(&traceSink);
      game.trace.Emit("start", [](kav::TraceEvent& e) { e.Add("version", kav::kTraceVersion); });
    }
    kav::Main(game);
  } catch (const kav::GameExit& exit) {
    return Ended(exit.status);
  } catch (const std::exception& e) {
    messages.ShowFatalMessage("Kavrona", e.what());
    return Ended(1);
  }
  return Ended(0);
}
