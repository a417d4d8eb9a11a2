#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "art.h"
#include "gfx/art_files.h"

// Usage: artgen OUTPUT_DIR FONT_PATH
int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR MISAKI_GOTHIC_TTF\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path out = argv[1];
  const std::string font = argv[2];
  std::error_code ec;
  fs::create_directories(out, ec);

  using namespace kav::artgen;
  namespace art = kav::art;
  const std::pair<const char*, std::function<kav::Surface()>> jobs[] = {
      {art::kBackdrop, MakeBackdrop},
      {art::kTitleLogo, MakeTitleLogo},
      {art::kPartsSource, MakePartsSource},
      {art::kGlyphSheet, [&] { return MakeGlyphSheet(font); }},
      {art::kMessageFrame, MakeMessageFrame},
      {art::kHeli, MakeHeli},
      {art::kBurstSmall, MakeBurstSmall},
      {art::kBurstLarge, MakeBurstLarge},
      {art::kFlame, MakeFlame},
      {art::kCulprit, MakeCulprit},
      {art::kHostage, MakeHostage},
      {art::kLadder, MakeLadder},
      {art::kBoat, MakeBoat},
      {art::kRing, MakeRing},
      {art::kFinale, MakeFinale},
      {art::kEnemyMissile, MakeEnemyMissile},
      {art::kGunner, MakeGunner},
      {art::kMenuButton, MakeMenuButton},
      {art::kTotal, MakeTotal},
      {art::kIconQuestion, MakeIconQuestion},
      {art::kIconWarning, MakeIconWarning},
      {art::kIconHelp, MakeIconHelp},
      {art::kIconEmblem, MakeIconEmblem},
      {art::kCursorCross, MakeCursorCross},
      {art::kWindowIcon, [] { return MakeAppIcon(art::kWindowIconSize); }},
  };
  bool ok = true;
  for (const auto& [name, make] : jobs) ok = WritePicture(out, name, make()) && ok;
  return ok ? 0 : 1;
}
