#include "gfx/graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kav {

const std::array<const char*, 5> kGlyphRows = {
    "　０１２３４５６７８９：＝＊＋ー（）ｕｄｎｒ．［］ｅ",
    "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ",
    "アイウエオカキクケコサシスセソタチツテトナニヌネノ",
    "ハヒフヘホマミムメモヤユヨラリルレロワヲン゛゜！？＃",
    "ァィゥェォッャュョ",
};

void MoveControl(Control& surface, int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left != -1) surface.Left = left;
  if (top != -1) surface.Top = top;
  if (width != -1) surface.Image.Resize(width, surface.Height(), surface.BackColour);
  if (height != -1) surface.Image.Resize(surface.Width(), height, surface.BackColour);
}

void MakeMask(Surface& dest, const Surface& src, int32_t width, int32_t height) {
  const uint32_t key = src.Pixel(1, 1);
  const int w = std::min({width, src.Width(), dest.Width()});
  const int h = std::min({height, src.Height(), dest.Height()});
  for (int y = 0; y < h; ++y) {
    const uint32_t* s = src.Row(y);
    uint32_t* d = dest.Row(y);
    for (int x = 0; x < w; ++x) d[x] = s[x] == key ? kWhite : kBlack;
  }
}

void SeedRandom(GfxState& g, double seed) {
  // The runtime folds the high word of the number's double representation into the
  // middle 16 bits of its 24-bit seed.
  uint64_t bits = 0;
  std::memcpy(&bits, &seed, sizeof bits);
  const uint32_t high = static_cast<uint32_t>(bits >> 32);
  const uint32_t folded = ((high & 0xFFFF) ^ (high >> 16)) << 8;
  g.RandomSeed = (g.RandomSeed & 0xFF0000FF) | folded;
}

float NextRandom(GfxState& g) {
  g.RandomSeed = (g.RandomSeed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFF;
  return static_cast<float>(g.RandomSeed) / 16777216.0f;
}

int32_t RandomInt(GfxState& g, int32_t n) {
  return static_cast<int32_t>(std::floor(static_cast<double>(NextRandom(g)) * n)) + 1;
}

void SetUpGraphics(GfxState& g, Screen& screen, Platform platform) {
  // The window's client area is 800 x 600, centred on the desktop.
  const WindowRect desktop = platform.display.DesktopRect();
  WindowRect placed;
  placed.Width = kScreenWidth;
  placed.Height = kScreenHeight;
  placed.Top = desktop.Top + desktop.Height / 2 - placed.Height / 2;
  placed.Left = desktop.Left + desktop.Width / 2 - placed.Width / 2;
  platform.display.SetWindowRect(placed);
  g.SavedWindowRect = platform.display.GetWindowRect();

  Control& picP = screen[Pic::picP];
  MoveControl(picP, 0, 0, kScreenWidth, kScreenHeight);
  Control& picBuhin = screen[Pic::picBuhin];
  Control& picMask = screen[Pic::picMask];
  MoveControl(picMask, -1, -1, picBuhin.Width(), picBuhin.Height());

  SeedRandom(g, std::floor(platform.clock.SecondsSinceMidnight() / 3));

  g.Heli.Width = screen[AnimePatten(kHeliPic)].Width();
  g.Heli.Height = screen[AnimePatten(kHeliPic)].Height();

  MoveControl(picBuhin, -1, -1, 655, 123);
  MoveControl(picMask, -1, -1, 655, 123);
  const Surface& fontSrc = screen[Pic::FontSrc].Image;
  MakeMask(picMask.Image, fontSrc, 655, 123);
  Blit(picBuhin.Image, 0, 0, 655, 123, picMask.Image, 0, 0, Rop::MergePaint);
  Blit(picBuhin.Image, 0, 0, 655, 123, fontSrc, 0, 0, Rop::And);

  const Surface& back = screen[Pic::picBack].Image;
  Control& picTim = screen[Pic::picTim];
  MoveControl(picTim, 300, 560, 325, 35);
  Blit(picTim.Image, 0, 0, picTim.Width(), 35, back, picTim.Left, picTim.Top);
  Control& picture2 = screen[Pic::Picture2];
  MoveControl(picture2, 3, 560, 100, 35);
  Blit(picture2.Image, 0, 0, picture2.Width(), 35, back, picture2.Left, picture2.Top);

  MoveControl(screen[Pic::Picture4], kParkLeft, kParkTop, -1, -1);

  Control& cover = screen[Pic::picTitle1];
  MoveControl(cover, picP.Left, picP.Top, picP.Width(), picP.Height());
  Blit(cover.Image, 0, 0, cover.Width(), cover.Height(), back, 0, 0);

  // Centred; a half pixel rounds to even, as the runtime's conversion to whole pixels does.
  Control& logo = screen[Pic::picTitle0];
  const double left = cover.Width() / 2.0 - logo.Width() / 2.0;
  const double top = cover.Height() / 2.0 - logo.Height() / 2.0;
  MoveControl(logo, static_cast<int32_t>(std::nearbyint(left)), static_cast<int32_t>(std::nearbyint(top)), -1, -1);

  for (size_t r = 0; r < g.GlyphRows.size(); ++r) g.GlyphRows[r] = kGlyphRows[r];
}

}  // namespace kav
