#include "game/artwork.h"

#include "base/png_io.h"
#include "gfx/art_files.h"

namespace kav {
namespace {

struct Placement {
  const char* file;
  Pic id;
  // The sheets' layouts are read cell by cell, so they must keep their size; sprites may be
  // replaced by pictures of another size.
  bool fixedSize;
};

constexpr Placement kPlacements[] = {
    {art::kBackdrop, Pic::picBack, true},
    {art::kTitleLogo, Pic::picTitle0, false},
    {art::kPartsSource, Pic::FontSrc, true},
    {art::kGlyphSheet, Pic::Picture3, true},
    {art::kMessageFrame, Pic::Picture4, true},
    {art::kHeli, AnimePatten(kHeliPic), false},
    {art::kBurstSmall, AnimePatten(kSmallBurstPic), false},
    {art::kBurstLarge, AnimePatten(kLargeBurstPic), false},
    {art::kFlame, AnimePatten(kBulletPic), false},
    {art::kCulprit, AnimePatten(kCulpritPic), false},
    {art::kHostage, AnimePatten(kHostagePic), false},
    {art::kLadder, AnimePatten(kLadderPic), false},
    {art::kBoat, AnimePatten(kBoatPic), false},
    {art::kRing, AnimePatten(kMarkerPic), false},
    {art::kFinale, AnimePatten(kFinalePic), false},
    {art::kEnemyMissile, Pic::TekiTama, false},
    {art::kGunner, Pic::TekiMen, false},
    {art::kMenuButton, Pic::Picture1, false},
    {art::kTotal, Pic::picTotal, false},
    {art::kIconQuestion, ImgIcon(0), false},
    {art::kIconWarning, ImgIcon(1), false},
    {art::kIconHelp, ImgIcon(2), false},
    {art::kIconEmblem, ImgIcon(3), false},
    {art::kCursorCross, Pic::picCursor, false},
};

int ExpectedWidth(const char* file, int* height) {
  for (const art::ArtFile& f : art::kAllFiles) {
    if (std::string(f.name) == file) {
      *height = f.height;
      return f.width;
    }
  }
  *height = 0;
  return 0;
}

}  // namespace

void LoadArtwork(Screen& screen, const std::string& programDir) {
  const std::string rebuild =
      "\n\nThe game's pictures are made when it is built. Rebuild them with\n"
      "  cmake --build --preset release\n"
      "in the source folder (README.md has the details).";
  for (const Placement& p : kPlacements) {
    const std::string path = programDir + art::kDataDir + p.file;
    std::optional<PngImage> png = ReadPng(path);
    if (!png) throw AssetError(path, "Cannot read the picture\n" + path + rebuild);
    int height = 0;
    const int width = ExpectedWidth(p.file, &height);
    if (p.fixedSize && (png->width != width || png->height != height)) {
      throw AssetError(path, "The picture\n" + path + "\nis " + std::to_string(png->width) + " x " +
                                 std::to_string(png->height) + " pixels; the game needs " + std::to_string(width) +
                                 " x " + std::to_string(height) + "." + rebuild);
    }
    Control& c = screen[p.id];
    c.Image = Surface(png->width, png->height);
    c.Image.MutablePixels() = std::move(png->pixels);
    c.Picture = c.Image;
  }
}

}  // namespace kav

namespace kav {

void LoadWindowIcon(Display& display, const std::string& programDir) {
  const std::optional<PngImage> icon = ReadPng(programDir + art::kDataDir + art::kWindowIcon);
  if (!icon || icon->width != art::kWindowIconSize || icon->height != art::kWindowIconSize) return;
  display.SetWindowIcon(icon->pixels, icon->width, icon->height);
}

}  // namespace kav
