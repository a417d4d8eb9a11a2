// kavrona-headless: the real game on the headless platform, driven by commands and read as a
// trace of JSON lines.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "base/shortest_double.h"
#include "base/texts.h"
#include "game/game.h"
#include "gfx/art_files.h"
#include "platform/headless/headless_platform.h"
#ifndef __EMSCRIPTEN__
#include "platform/ttf_fonts.h"
#include "recording/headless_playback.h"
#endif
#include "runner/driver.h"
#include "runner/headless_devices.h"

namespace {

constexpr const char* kUsage =
    "usage: kavrona-headless [--dir DIR] [--date MM/DD] [--clock SECONDS] [--ticks N] [--script FILE] "
    "[--trace FILE] [--lang ja|en] | --play RECORDING [--dir DIR] [--trace FILE]";

int BadCommandLine(const std::string& reason) {
  std::cerr << "kavrona-headless: " << reason << '\n' << kUsage << '\n';
  return kav::runner::kStatusBadInput;
}

std::string OwnDirectory() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && exe.has_parent_path()) return exe.parent_path().string();
  return ".";
}

template <class T>
bool Number(std::string_view text, T& out) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = OwnDirectory();
  int month = 4;
  int day = 22;
  double clock = 36000;
  int64_t ticks = 0;
  std::string scriptPath;
  std::string tracePath;
  // Only the command line chooses, so that a player's KAVRONA_LANG never moves a test.
  kav::Language language = kav::Language::kJapanese;
  std::string playPath;
  bool setsTheScene = false;  // --date, --clock, --ticks, --script, --lang: a recording brings its own

  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage << '\n';
      return 0;
    }
    if (i + 1 >= argc) return BadCommandLine("unknown option or missing value: " + std::string(arg));
    const std::string_view value = argv[++i];
    setsTheScene =
        setsTheScene || arg == "--date" || arg == "--clock" || arg == "--ticks" || arg == "--script" || arg == "--lang";
    if (arg == "--dir") {
      dir = value;
    } else if (arg == "--date") {
      if (value.size() != 5 || value[2] != '/' || !Number(value.substr(0, 2), month) ||
          !Number(value.substr(3, 2), day) || month < 1 || month > 12 || day < 1 || day > 31) {
        return BadCommandLine("--date wants MM/DD, not " + std::string(value));
      }
    } else if (arg == "--clock") {
      if (!kav::ParseDouble(value, clock) || clock < 0 || clock >= 86400) {
        return BadCommandLine("--clock wants seconds since midnight (0 to 86399), not " + std::string(value));
      }
    } else if (arg == "--ticks") {
      if (!Number(value, ticks) || ticks < INT32_MIN || ticks > UINT32_MAX) {
        return BadCommandLine("--ticks wants a 32-bit tick count, not " + std::string(value));
      }
    } else if (arg == "--script") {
      scriptPath = value;
    } else if (arg == "--trace") {
      tracePath = value;
    } else if (arg == "--lang") {
      const auto named = kav::LanguageNamed(value);
      if (!named) return BadCommandLine("--lang wants ja or en, not " + std::string(value));
      language = *named;
    } else if (arg == "--play") {
      playPath = value;
    } else {
      return BadCommandLine("unknown option " + std::string(arg));
    }
  }

  for (const kav::art::ArtFile& f : kav::art::kAllFiles) {
    const std::filesystem::path picture = std::filesystem::path(dir) / kav::art::kDataDir / f.name;
    if (!std::filesystem::is_regular_file(picture)) {
      return BadCommandLine("--dir " + dir + " holds no game pictures (" + picture.string() + " is missing)");
    }
  }

  if (!playPath.empty()) {
    if (setsTheScene) return BadCommandLine("--play takes its date, clock, language and input from the recording");
#ifdef __EMSCRIPTEN__
    // The recordings' packing is zlib, which the WebAssembly build does not have.
    return BadCommandLine("this runner plays no recordings; the native kavrona-headless does");
#else
    return kav::recording::PlayHeadless(playPath, dir, tracePath);
#endif
  }

  std::ifstream scriptFile;
  if (!scriptPath.empty()) {
    scriptFile.open(scriptPath, std::ios::binary);
    if (!scriptFile) return BadCommandLine("cannot read the script " + scriptPath);
  }
  std::ofstream traceFile;
  if (!tracePath.empty()) {
    traceFile.open(tracePath, std::ios::binary | std::ios::trunc);
    if (!traceFile) return BadCommandLine("cannot write the trace " + tracePath);
  }
  std::istream& commands = scriptPath.empty() ? std::cin : scriptFile;
  std::ostream& trace = tracePath.empty() ? std::cout : traceFile;

  // Under Node (the WebAssembly runner) there is no font library: dialogs are drawn without their
  // texts, which only a shot shows; the trace is the same.
  std::unique_ptr<kav::Fonts> fonts;
#ifndef __EMSCRIPTEN__
  std::string fontError;
  fonts = kav::OpenFonts(fontError);
  if (!fonts) {
    std::cerr << fontError << '\n';
    return 1;
  }
#endif
  kav::HeadlessPlatform platform(dir);
  platform.SetDate(month, day);
  platform.SetSecondsSinceMidnight(clock);
  platform.SetTickBase(ticks);
  kav::runner::HeadlessDevices devices(platform);
  auto game = std::make_unique<kav::Game>(platform);
  game->texts = kav::TextsOf(language);
  devices.HandTo(*game, fonts.get());
  kav::runner::Driver driver(platform, *game, commands, trace);
  const int status = driver.Run();
  trace.flush();
  return status;
}
