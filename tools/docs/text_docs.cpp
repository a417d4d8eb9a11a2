// Writes the game's two bitmap texts as the player sees them: the message window with the
// stage-1 briefing typed, and the clock and magazine strips over the backdrop.
// Usage: text_docs PROGRAM_DIR DOCS_DIR
#include <array>
#include <cstdio>
#include <string>

#include "base/boolean.h"
#include "base/png_io.h"
#include "game/artwork.h"
#include "game/game.h"
#include "game/hosts.h"
#include "game/stage_setup.h"
#include "gfx/digits.h"
#include "gfx/message_window.h"
#include "platform/headless/headless_platform.h"

namespace {

bool Write(const std::string& path, const kav::Surface& s) {
  if (kav::WritePng(path, s.Width(), s.Height(), s.Pixels().data())) return true;
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_DIR DOCS_DIR\n", argv[0]);
    return 2;
  }
  std::string programDir = argv[1];
  if (programDir.back() != '/') programDir += '/';
  const std::string docs = argv[2];

  // The default table, not a player's record file, so the pictures are the same everywhere.
  kav::HeadlessPlatform platform(programDir);
  kav::Game g(platform);
  try {
    kav::LoadArtwork(g.screen, programDir);
  } catch (const kav::AssetError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  kav::SetUpGraphics(g, g.screen, g.platform);
  kav::SeedDefaultRecords(g, "01/01");
  kav::Screen& screen = g.screen;

  std::array<std::string, 11> lines = kav::BriefingLines(g, 1);
  kav::MessageHost host = kav::Messages(g);
  int32_t delay = 0;
  kav::TypeMessage(host, lines, kav::kTrue, delay);
  if (!Write(docs + "/message_window.png", screen[kav::Pic::Picture4].Image)) return 1;

  kav::Blit(screen[kav::Pic::picP].Image, 0, 0, kav::kScreenWidth, kav::kScreenHeight, screen[kav::Pic::picBack].Image,
            0, 0);
  screen[kav::Pic::Picture4].Visible = false;
  for (kav::Pic id : {kav::Pic::picP, kav::Pic::picTim, kav::Pic::Picture2}) screen[id].Visible = true;
  kav::DrawDigits(screen, kav::Pic::picTim, " 12.34/ 56.78", g.trace);
  kav::DrawDigits(screen, kav::Pic::Picture2, "M=15", g.trace);

  // The bottom of the screen at twice its size, where the two strips sit.
  constexpr int kTop = 550;
  constexpr int kScale = 2;
  kav::Surface frame(kav::kScreenWidth, kav::kScreenHeight);
  screen.Compose(frame);
  kav::Surface strips(kav::kScreenWidth * kScale, (kav::kScreenHeight - kTop) * kScale);
  for (int y = 0; y < strips.Height(); ++y) {
    for (int x = 0; x < strips.Width(); ++x) strips.SetPixel(x, y, frame.Pixel(x / kScale, kTop + y / kScale));
  }
  return Write(docs + "/strips.png", strips) ? 0 : 1;
}
