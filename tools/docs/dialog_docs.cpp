// Writes the game's dialog as the player sees it over the backdrop: the retry question with
// its two buttons and the 37-line ranking of a fresh table. (The entry dialog and the
// too-long notice come from the runner's shots; see scripts/make_docs.sh.)
// Usage: dialog_docs PROGRAM_DIR DOCS_DIR
#include <cstdio>
#include <memory>
#include <string>

#include "base/png_io.h"
#include "game/dialogs.h"
#include "game/startup.h"
#include "platform/headless/headless_platform.h"
#include "platform/ttf_fonts.h"
#include "runner/headless_devices.h"
#include "ui/ranking_text.h"

namespace {

// Shows one dialog, saves the frame once it is drawn, then closes it with its close box.
bool Capture(kav::HeadlessPlatform& platform, kav::Game& g, const std::string& text, std::string caption,
             const std::string& buttons, const std::string& icon, const std::string& file) {
  bool saved = false;
  bool ok = false;
  platform.onSleep = [&](kav::HeadlessPlatform& p) {
    if (!g.dialog.visible || saved) return;
    saved = true;
    const std::vector<uint32_t> frame = p.LastFrame();
    ok = !frame.empty() && kav::WritePng(file, kav::kScreenWidth, kav::kScreenHeight, frame.data());
    p.QueueEvent(kav::PlatformEvent::CloseDialog());
  };
  kav::ShowDialog(g, text, caption, buttons, icon);
  platform.onSleep = nullptr;
  if (!ok) std::fprintf(stderr, "cannot write %s\n", file.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_DIR DOCS_DIR\n", argv[0]);
    return 2;
  }
  const std::string docs = argv[2];
  std::string fontError;
  std::unique_ptr<kav::Fonts> fonts = kav::OpenFonts(fontError);
  if (!fonts) {
    std::fprintf(stderr, "%s\n", fontError.c_str());
    return 1;
  }
  kav::HeadlessPlatform platform(argv[1]);
  platform.SetDate(4, 22);
  kav::Game g(platform);
  kav::runner::HeadlessDevices devices(platform);
  devices.HandTo(g, fonts.get());
  // Start-up's own dialogs are closed as they come; the records stay the fresh defaults.
  platform.onSleep = [&g](kav::HeadlessPlatform& p) {
    if (g.dialog.visible) p.QueueEvent(kav::PlatformEvent::CloseDialog());
  };
  try {
    kav::StartUp(g);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  g.PlayerName = "ORVEL";
  if (!Capture(platform, g, "　もう一度　？", "", "YN", "?", docs + "/dialog_question.png")) return 1;
  if (!Capture(platform, g, kav::RankingText(g), "ランキング", "Y", "F", docs + "/dialog_ranking.png")) return 1;
  return 0;
}
