#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "art.h"
#include "base/png_io.h"

// Pictures for the documentation: the backdrop with its contact points and zones marked,
// every sprite enlarged, and the glyph sheet.
namespace {

using kav::Surface;

constexpr uint32_t kZone = 0x30FF60;     // where the helicopter may be
constexpr uint32_t kPadSpan = 0xFFF030;  // pad columns a landing reads
constexpr uint32_t kRingMark = 0xFF50D0;
constexpr uint32_t kActor = 0xFFFFFF;  // boats, hostage, ledge
constexpr uint32_t kEnemy = 0xFF3030;
constexpr uint32_t kOpen = 0x40E0FF;  // open passages
constexpr uint32_t kPath = 0xFF9020;
constexpr uint32_t kLabelShadow = 0x000000;

constexpr int kHeliWidth = 48;
constexpr int kHeliBottom = 23;

void Outline(Surface& s, int x0, int y0, int x1, int y1, uint32_t colour) {
  s.FillRect(x0, y0, x1 - x0 + 1, 1, colour);
  s.FillRect(x0, y1, x1 - x0 + 1, 1, colour);
  s.FillRect(x0, y0, 1, y1 - y0 + 1, colour);
  s.FillRect(x1, y0, 1, y1 - y0 + 1, colour);
}

void DashedOutline(Surface& s, int x0, int y0, int x1, int y1, uint32_t colour) {
  for (int x = x0; x <= x1; ++x) {
    if ((x - x0) % 6 < 3) {
      s.SetPixel(x, y0, colour);
      s.SetPixel(x, y1, colour);
    }
  }
  for (int y = y0; y <= y1; ++y) {
    if ((y - y0) % 6 < 3) {
      s.SetPixel(x0, y, colour);
      s.SetPixel(x1, y, colour);
    }
  }
}

void Point(Surface& s, int x, int y, uint32_t colour) {
  s.FillRect(x - 2, y - 2, 5, 5, kLabelShadow);
  s.FillRect(x - 1, y - 1, 3, 3, colour);
}

// 3 x 5 digits and "P", enough to tag each zone with its property number.
constexpr std::array<uint16_t, 11> kTinyGlyphs{
    0b111101101101111, 0b010110010010111, 0b111001111100111, 0b111001111001111, 0b101101111001001,
    0b111100111001111, 0b111100111101111, 0b111001001010010, 0b111101111101111, 0b111101111001111,
    0b111101111100100,  // P
};

void Label(Surface& s, int x, int y, const std::string& text, uint32_t colour) {
  const int width = static_cast<int>(text.size()) * 8;
  s.FillRect(x - 1, y - 1, width + 1, 12, kLabelShadow);
  for (char ch : text) {
    const int glyph = ch == 'P' ? 10 : ch - '0';
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 3; ++col) {
        if ((kTinyGlyphs[glyph] >> (14 - row * 3 - col)) & 1) s.FillRect(x + col * 2, y + row * 2, 2, 2, colour);
      }
    }
    x += 8;
  }
}

void HeliZone(Surface& s, int xMin, int xMax, int yMin, int yMax, uint32_t colour) {
  Outline(s, xMin, yMin, xMax + kHeliWidth - 1, yMax + kHeliBottom, colour);
}

Surface Zones(const Surface& backdrop) {
  Surface s = backdrop;
  // P1: the start position with its six contact points.
  HeliZone(s, 50, 50, 50, 50, kActor);
  for (const int y : {50, 50 + kHeliBottom}) {
    for (const int x : {50, 50 + kHeliWidth / 2, 50 + kHeliWidth - 1}) Point(s, x, y, kEnemy);
  }
  Label(s, 50, 80, "P1", kActor);

  // P2, P3: landing zones, the pad columns their centres read, and the marker rings.
  HeliZone(s, 279, 341, 272 - kHeliBottom, 275 - kHeliBottom, kZone);
  s.FillRect(303, 274, 365 - 303 + 1, 1, kPadSpan);
  DashedOutline(s, 310, 222, 310 + 63, 222 + 63, kRingMark);
  Label(s, 392, 252, "P2", kZone);
  HeliZone(s, 92, 139, 349 - kHeliBottom, 352 - kHeliBottom, kZone);
  s.FillRect(116, 351, 163 - 116 + 1, 1, kPadSpan);
  DashedOutline(s, 110, 310, 110 + 63, 310 + 63, kRingMark);
  Label(s, 20, 330, "P3", kZone);

  // P4: hovering over the hostage, the hostage and gunner, the resupply part of the roof.
  HeliZone(s, 577, 585, 83 - kHeliBottom, 86 - kHeliBottom, kZone);
  DashedOutline(s, 590, 60, 590 + 63, 60 + 63, kRingMark);
  Outline(s, 600, 99, 607, 106, kActor);
  Outline(s, 740, 95, 755, 110, kEnemy);
  Outline(s, 641, 106, 799, 115, kPadSpan);
  Label(s, 540, 62, "P4", kZone);

  // P5: the sniping gap and the culprit's windows on the tower face.
  DashedOutline(s, 431, 0, 559, 529, kOpen);
  for (const int y : {290, 330, 362}) Outline(s, 590, y, 600, y + 11, kEnemy);
  Label(s, 480, 160, "P5", kOpen);

  // P6: the harbour gate, its ledge, the culprit on it and where the helicopter may hover.
  DashedOutline(s, 601, 341, 799, 529, kOpen);
  Outline(s, 715, 377, 760, 382, kActor);
  Outline(s, 730, 365, 740, 376, kEnemy);
  HeliZone(s, 601, 666, 350, 365, kZone);
  Label(s, 770, 350, "P6", kOpen);

  // P7, P8: the docks with their boats.
  HeliZone(s, 206, 251, 440, 527 - kHeliBottom, kZone);
  Outline(s, 210, 504, 269, 563, kActor);
  HeliZone(s, 635, 690, 383, 527 - kHeliBottom, kZone);
  Outline(s, 645, 504, 704, 563, kActor);
  Label(s, 216, 424, "P7", kZone);
  Label(s, 656, 440, "P7", kZone);
  s.FillRect(201, 281, 1, 529 - 281 + 1, kPath);
  s.FillRect(299, 281, 1, 529 - 281 + 1, kPath);
  Label(s, 240, 290, "P8", kPath);

  // P9: the stage-7 missile path and the row under it.
  Outline(s, 530, 90, 741, 97, kPath);
  for (int x = 530; x <= 741; x += 4) s.FillRect(x, 98, 2, 1, kPath);
  for (int i = 0; i < 5; ++i) s.FillRect(522 + i, 93 - i, 1, 2 * i + 2, kPath);
  Label(s, 500, 102, "P9", kPath);

  // P12: the digit strips.
  Outline(s, 300, 560, 624, 594, kPadSpan);
  Outline(s, 3, 560, 102, 594, kPadSpan);
  Label(s, 108, 572, "P12", kPadSpan);
  return s;
}

struct Named {
  const char* name;
  Surface surface;
};

// Each sprite enlarged 4x on a neutral ground, its key colour (pixel (0, 0)) as a checkerboard.
Surface SpriteSheet(const std::vector<Named>& sprites) {
  constexpr int kScale = 4;
  constexpr int kGap = 16;
  constexpr int kRowWidth = 1200;
  struct Place {
    const Surface* surface;
    int x, y;
  };
  std::vector<Place> places;
  int x = kGap;
  int y = kGap;
  int rowHeight = 0;
  int sheetWidth = kRowWidth;
  for (const auto& [name, sprite] : sprites) {
    if (sprite.Empty()) {
      std::fprintf(stderr, "artdocs: sprite %s is empty, left out\n", name);
      continue;
    }
    const int w = sprite.Width() * kScale;
    const int h = sprite.Height() * kScale;
    if (x > kGap && x + w + kGap > kRowWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.push_back({&sprite, x, y});
    sheetWidth = std::max(sheetWidth, x + w + kGap);
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
  }
  Surface sheet(sheetWidth, y + rowHeight + kGap, 0x606468);
  for (const auto& p : places) {
    const Surface& sprite = *p.surface;
    const uint32_t key = sprite.Pixel(0, 0);
    for (int sy = 0; sy < sprite.Height() * kScale; ++sy) {
      for (int sx = 0; sx < sprite.Width() * kScale; ++sx) {
        uint32_t c = sprite.Pixel(sx / kScale, sy / kScale);
        if (c == key) c = ((sx / 8 + sy / 8) % 2) ? 0xC8C8C8 : 0x9C9C9C;
        sheet.SetPixel(p.x + sx, p.y + sy, c);
      }
    }
  }
  return sheet;
}

}  // namespace

// Usage: artdocs OUTPUT_DIR FONT_PATH
int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR MISAKI_GOTHIC_TTF\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path out = argv[1];
  std::error_code ec;
  fs::create_directories(out, ec);

  using namespace kav::artgen;
  const Surface backdrop = MakeBackdrop();
  const std::vector<Named> sprites = {
      {"heli", MakeHeli()},
      {"burst_small", MakeBurstSmall()},
      {"burst_large", MakeBurstLarge()},
      {"flame", MakeFlame()},
      {"culprit", MakeCulprit()},
      {"hostage", MakeHostage()},
      {"ladder", MakeLadder()},
      {"boat", MakeBoat()},
      {"ring", MakeRing()},
      {"finale", MakeFinale()},
      {"enemy_missile", MakeEnemyMissile()},
      {"gunner", MakeGunner()},
      {"menu_button", MakeMenuButton()},
      {"title_logo", MakeTitleLogo()},
      {"icon_question", MakeIconQuestion()},
      {"icon_warning", MakeIconWarning()},
      {"icon_help", MakeIconHelp()},
      {"icon_emblem", MakeIconEmblem()},
      {"cursor_cross", MakeCursorCross()},
  };
  bool ok = WritePicture(out, "backdrop.png", backdrop);
  ok = WritePicture(out, "backdrop_zones.png", Zones(backdrop)) && ok;
  ok = WritePicture(out, "sprites_4x.png", SpriteSheet(sprites)) && ok;
  ok = WritePicture(out, "glyph_sheet.png", MakeGlyphSheet(argv[2])) && ok;
  return ok ? 0 : 1;
}
