#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

using pal::kSpriteKey;

// Sprite-only colours, picked to sit in the dusk palette.
constexpr uint32_t kBodyLight = 0xE6EAF0;
constexpr uint32_t kRotor = 0x4A5164;
constexpr uint32_t kGlass = 0x4AA8D8;
constexpr uint32_t kGlassDark = 0x24608C;
constexpr uint32_t kGlassLight = 0xD6F6FF;
constexpr uint32_t kFlameCore = 0xFFF8D8;
constexpr uint32_t kSmoke = 0x6A6070;
constexpr uint32_t kSmokeDark = 0x3E3848;
constexpr uint32_t kHair = 0x3A2418;
constexpr uint32_t kCoat = 0x4C3A5E;
constexpr uint32_t kCoatLight = 0x6E5884;
constexpr uint32_t kTrousers = 0x2C2838;
constexpr uint32_t kShirt = 0xF0E6B8;
constexpr uint32_t kRope = 0xCCA46A;
constexpr uint32_t kRopeDark = 0x8C6A40;
constexpr uint32_t kWood = 0xA8703C;
constexpr uint32_t kWoodLight = 0xD09450;
constexpr uint32_t kDeck = 0xC8B48C;
constexpr uint32_t kHull = 0xE4E6E8;
constexpr uint32_t kHullShade = 0xB4BAC4;
constexpr uint32_t kUniform = 0x5A6A3A;
constexpr uint32_t kUniformLight = 0x7E8E50;
constexpr uint32_t kUniformDark = 0x3A4626;
constexpr uint32_t kBoots = 0x2A2420;
constexpr uint32_t kRedLight = 0xF06A5A;
constexpr uint32_t kButtonFace = 0x7C889C;
constexpr uint32_t kButtonLight = 0xD0D8E4;
constexpr uint32_t kButtonDark = 0x3C4454;

struct Ink {
  char symbol;
  uint32_t colour;
};

// Builds a sprite from rows of symbols; '.' is the key colour. A typo in the art must not
// slip through as a wrong colour, so unknown symbols and ragged rows throw.
Surface FromArt(std::span<const std::string_view> rows, std::initializer_list<Ink> legend) {
  const int width = static_cast<int>(rows.front().size());
  Surface s(width, static_cast<int>(rows.size()), kSpriteKey);
  for (int y = 0; y < s.Height(); ++y) {
    const std::string_view row = rows[y];
    if (static_cast<int>(row.size()) != width) {
      throw std::logic_error("sprite art row " + std::to_string(y) + " has the wrong width");
    }
    for (int x = 0; x < width; ++x) {
      if (row[x] == '.') continue;
      const auto it = std::find_if(legend.begin(), legend.end(), [&](const Ink& i) { return i.symbol == row[x]; });
      if (it == legend.end()) throw std::logic_error(std::string("sprite art symbol not in legend: ") + row[x]);
      s.SetPixel(x, y, it->colour);
    }
  }
  return s;
}

// A one-pixel dark rim on every key pixel that touches the figure side by side.
void Outline(Surface& s) {
  const Surface before = s;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (before.Pixel(x, y) != kSpriteKey) continue;
      const auto shown = [&](int nx, int ny) {
        const uint32_t p = before.Pixel(nx, ny);
        return p != kSpriteKey && p != kInvalidPixel;
      };
      if (shown(x - 1, y) || shown(x + 1, y) || shown(x, y - 1) || shown(x, y + 1)) s.SetPixel(x, y, pal::kInk);
    }
  }
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  const auto channel = [&](int shift) {
    const double ca = (a >> shift) & 0xFF;
    const double cb = (b >> shift) & 0xFF;
    return static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

// A fixed integer hash, so the noisy sprites come out the same on every machine.
uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^ static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

// 2x2 ordered dither threshold in [0, 1).
double Bayer(int x, int y) {
  static constexpr double kMatrix[2][2] = {{0.125, 0.625}, {0.875, 0.375}};
  return kMatrix[y & 1][x & 1];
}

Surface Burst(int width, int height, double radiusX, double radiusY, int puffs, uint32_t seed) {
  Surface s(width, height, kSpriteKey);
  const double cx = (width - 1) / 2.0;
  const double cy = (height - 1) / 2.0 + 1.0;
  // Ragged edge: a few lobes with per-burst phases, so the two frames differ in shape.
  double phase[3];
  for (int i = 0; i < 3; ++i) phase[i] = (Hash(i, 0, seed) % 6283) / 1000.0;
  const auto lobes = [&](double angle) {
    return 1.0 + 0.13 * std::sin(5 * angle + phase[0]) + 0.08 * std::sin(8 * angle + phase[1]) +
           0.05 * std::sin(13 * angle + phase[2]);
  };
  // Smoke puffs ring the fire; the fireball is painted over them.
  for (int p = 0; p < puffs; ++p) {
    const double angle = 6.2832 * p / puffs + (Hash(p, 1, seed) % 1000) / 1000.0 * 0.6;
    const double px = cx + std::cos(angle) * radiusX * 0.85;
    const double py = cy + std::sin(angle) * radiusY * 0.85;
    const double pr = radiusY * (0.32 + (Hash(p, 2, seed) % 100) / 100.0 * 0.14);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const double d = std::hypot(x - px, y - py) / pr;
        if (d > 1.0) continue;
        const bool lit = (y - py) < -0.3 * pr && (x - px) < 0.3 * pr;
        s.SetPixel(x, y, lit ? kSmoke : kSmokeDark);
      }
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double dx = (x - cx) / radiusX;
      const double dy = (y - cy) / radiusY;
      const double d = std::hypot(dx, dy) / lobes(std::atan2(dy, dx));
      if (d > 1.0) continue;
      // The hot core sits a little high, as the fire rises.
      const double heat = std::clamp(1.0 - std::hypot(dx, dy + 0.18) / lobes(std::atan2(dy, dx)), 0.0, 1.0) +
                          ((Hash(x, y, seed + 7) % 1000) / 1000.0 - 0.5) * 0.12;
      static constexpr uint32_t kRamp[] = {pal::kRedDark, pal::kRed, pal::kOrange, pal::kYellow, kFlameCore};
      static constexpr double kSteps[] = {0.12, 0.3, 0.52, 0.75};
      int band = 0;
      while (band < 4 && heat > kSteps[band]) ++band;
      // Dither across each band boundary for a softer pixel-art blend.
      if (band < 4 && heat > kSteps[band] - 0.05 && Bayer(x, y) > 0.5) ++band;
      s.SetPixel(x, y, kRamp[band]);
    }
  }
  // A few sparks flung outward.
  for (int i = 0; i < puffs + 4; ++i) {
    const double angle = (Hash(i, 3, seed) % 6283) / 1000.0;
    const double r = 1.05 + (Hash(i, 4, seed) % 100) / 100.0 * 0.25;
    const int x = static_cast<int>(std::lround(cx + std::cos(angle) * radiusX * r));
    const int y = static_cast<int>(std::lround(cy + std::sin(angle) * radiusY * r));
    if (x > 1 && y > 1 && x < width - 2 && y < height - 2) s.SetPixel(x, y, pal::kYellow);
  }
  Outline(s);
  return s;
}

}  // namespace

Surface MakeHeli() {
  static constexpr std::string_view kArt[] = {
      "................................................", "......MMMMLLMMMMMMLMMMMMMMMMMMLLMMMMMMLMMMMM....",
      "...WS....................DDD....................", "..LWSS...................DDD....................",
      "..LWSSS.............SWWWWWWWWWWWWW..............", "..D.WSSS...........SSSSSSSSSSSSYSSS.............",
      "..L.WSSSS.......WWWWWWWWWWWWWWWWWkGG............", "..L..WSSSS.....WWWWWWWWDWWGHHGGWWkGHHGG.........",
      "..L.LWWWWWWWWWWWWWWWWWWDWWGHGGGWWkGGGHHGG.......", "..L..SSSSSSSSSWWWWWWWWWDWWGGGGGWWWkGGGGHGGG.....",
      ".....RRRRRRRRRWWWWWWWWWDWWgggggWWWWkGGGGGGGG....", ".....DDDDDDDDDWWWWWWWWWDWWWWWWWWWWWWkgggggggg...",
      "....SSS.......RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR.", "...DDD........rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr.",
      "...............SSSSSSSSDSSSSSSSSSSSSSSSSSSSSSSS.", "................SSSSSSSDSSSSSSSSSSSSSSSSSSSSSS..",
      "..................DDDDDDDDDDDDDDDDDDDDDDDDDD....", ".....................D...............D..........",
      ".....................D...............D..........", ".....................D...............D........W.",
      ".............WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW..", ".............SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS..",
      "................................................",
  };
  Surface s = FromArt(kArt, {{'W', kBodyLight},
                             {'S', pal::kSteel},
                             {'D', pal::kSteelDark},
                             {'R', pal::kRed},
                             {'r', pal::kRedDark},
                             {'G', kGlass},
                             {'g', kGlassDark},
                             {'H', kGlassLight},
                             {'M', kRotor},
                             {'L', pal::kSteel},
                             {'Y', pal::kYellow},
                             {'k', pal::kInk}});
  Outline(s);
  return s;
}

Surface MakeBurstSmall() {
  return Burst(48, 32, 12.0, 9.0, 5, 11);
}

Surface MakeBurstLarge() {
  return Burst(48, 32, 17.0, 11.5, 8, 23);
}

Surface MakeFlame() {
  static constexpr std::string_view kArt[] = {
      "........................", "..............ddrrroo...", ".......ddrrrrooooooyyo..", "..ddrrroooooyyyyyyywwyo.",
      ".drroooyyyyyyywwwwwwwwy.", "..drrooooyyyyyywwwwwwwy.", "....ddrrrrooooyyyyywwyo.", "........ddrrrrooooyyyo..",
      "...............ddrrro...", "........................",
  };
  Surface s = FromArt(
      kArt, {{'w', kFlameCore}, {'y', pal::kYellow}, {'o', pal::kOrange}, {'r', pal::kRed}, {'d', pal::kRedDark}});
  Outline(s);
  return s;
}

Surface MakeCulprit() {
  static constexpr std::string_view kArt[] = {
      "...........", "....hhhh...", "...hhhhhh..", "...kksshh..", "....ssss...", "...cCCccc..",
      ".ggggsCcc..", "...cCCcccc.", "...cCccccc.", "....pp.pp..", "....pp.pp..", "...........",
  };
  Surface s = FromArt(kArt, {{'h', kHair},
                             {'s', pal::kSkin},
                             {'k', pal::kInk},
                             {'c', kCoat},
                             {'C', kCoatLight},
                             {'g', pal::kSteelDark},
                             {'p', kTrousers}});
  Outline(s);
  return s;
}

Surface MakeHostage() {
  static constexpr std::string_view kArt[] = {
      "........", ".s..hh..", ".s.hssh.", "..yyyyy.", "...yyy..", "...yyy..", "...b.b..", "........",
  };
  Surface s = FromArt(kArt, {{'s', pal::kSkin}, {'h', kHair}, {'y', kShirt}, {'b', kTrousers}});
  Outline(s);
  return s;
}

Surface MakeLadder() {
  Surface s(8, 16, kSpriteKey);
  for (int y = 1; y < 15; ++y) {
    // Alternate shades read as twisted rope.
    const uint32_t rope = (y % 2 == 0) ? kRope : kRopeDark;
    s.SetPixel(1, y, rope);
    s.SetPixel(6, y, rope);
  }
  for (int y = 3; y < 15; y += 4) {
    s.FillRect(2, y, 4, 1, kWoodLight);
    s.FillRect(2, y + 1, 4, 1, kWood);
  }
  Outline(s);
  return s;
}

Surface MakeBoat() {
  constexpr int kDeckRow = 22;
  constexpr int kWaterRow = 26;
  constexpr int kKeelRow = 44;
  Surface s(60, 60, kSpriteKey);
  // Hull rows: the stern is nearly upright, the bow slopes back toward the keel.
  const auto hullLeft = [](int y) { return 2 + (y - kDeckRow) / 5 + std::max(0, y - 38); };
  const auto hullRight = [](int y) {
    const double t = static_cast<double>(y - kDeckRow) / (kKeelRow - kDeckRow);
    return static_cast<int>(std::lround(58 - 20 * t * t - 6 * t));
  };
  for (int y = kDeckRow; y <= kKeelRow; ++y) {
    const int x0 = hullLeft(y);
    const int x1 = hullRight(y);
    for (int x = x0; x <= x1; ++x) {
      uint32_t c;
      if (y == kDeckRow) {
        c = kDeck;
      } else if (y == kDeckRow + 1) {
        c = Mix(kDeck, pal::kInk, 0.4);
      } else if (y == kDeckRow + 2) {
        c = pal::kRed;
      } else if (y <= kWaterRow + 1) {
        c = (y == kWaterRow + 1) ? kHullShade : kHull;
      } else {
        // Under water the hull takes on the water's colour and darkens with depth.
        const double depth = static_cast<double>(y - kWaterRow) / (kKeelRow - kWaterRow);
        c = Mix(Mix(kHullShade, pal::kWater, 0.7), pal::kInk, depth * 0.45);
      }
      s.SetPixel(x, y, c);
    }
  }
  // Portholes along the hull side.
  for (int x = 12; x <= 48; x += 6) {
    s.SetPixel(x, kDeckRow + 3, kGlassDark);
    s.SetPixel(x + 1, kDeckRow + 3, kGlass);
  }
  // Ripples cross the hull where it meets the surface and just below it.
  const auto ripple = [&](int y, int period, uint32_t salt, uint32_t odds, uint32_t colour) {
    for (int x = hullLeft(y) + 1; x < hullRight(y); ++x) {
      if (Hash(x / period, static_cast<int>(salt), 5) % odds == 0) s.SetPixel(x, y, colour);
    }
  };
  ripple(kWaterRow + 2, 3, 0, 2, pal::kWaterLight);
  ripple(kWaterRow + 5, 4, 1, 3, pal::kWaterLight);
  ripple(kWaterRow + 9, 5, 2, 4, Mix(pal::kWaterLight, pal::kWater, 0.5));
  // A low signal mast at the stern, clear of the landing space.
  for (int y = 12; y < kDeckRow; ++y) s.SetPixel(4, y, pal::kSteel);
  s.SetPixel(3, 16, pal::kSteelDark);
  s.SetPixel(5, 16, pal::kSteelDark);
  s.SetPixel(4, 11, pal::kRed);
  s.SetPixel(4, 10, kRedLight);
  // The deck edge is outlined at the sides only, so row 22 stays the top surface.
  Outline(s);
  for (int x = 0; x < s.Width(); ++x) {
    if (x < 3 || x > 5) s.SetPixel(x, kDeckRow - 1, kSpriteKey);
  }
  return s;
}

Surface MakeRing() {
  constexpr double kCentre = 31.5;
  constexpr double kOuter = 30.5;
  constexpr double kInner = 24.5;
  Surface s(64, 64, kSpriteKey);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const double dx = x - kCentre;
      const double dy = y - kCentre;
      const double r = std::hypot(dx, dy);
      if (r > kOuter + 1.0 || r < kInner - 1.0) continue;
      if (r > kOuter || r < kInner) {
        s.SetPixel(x, y, pal::kInk);
        continue;
      }
      // Lit from the top left: the band's upper-left half is lighter.
      const double light = -(dx + dy) / (r * 1.4142);
      const double across = (r - kInner) / (kOuter - kInner);
      uint32_t c = pal::kRed;
      if (light > 0.45 && across > 0.25 && across < 0.75) c = kRedLight;
      if (light < -0.35 || across > 0.88 || across < 0.1) c = pal::kRedDark;
      // Four white ticks mark the compass points.
      const bool tick = (std::abs(dx) < 1.0 || std::abs(dy) < 1.0) && across > 0.15 && across < 0.85;
      if (tick) c = pal::kWhite;
      s.SetPixel(x, y, c);
    }
  }
  return s;
}

// The finale's picture is left unshaped, so every pixel of it shows: no key colour here.
Surface MakeFinale() {
  return Surface(2, 2, pal::kWhite);
}

Surface MakeTotal() {
  return Surface(32, 32, kBlack);
}

Surface MakeEnemyMissile() {
  static constexpr std::string_view kArt[] = {
      "......................", "..............rr......", "....WWWWWWWWWWWrr.....", ".RRWWWWWWWWWWWWWSSooy.",
      ".rRSSSSSSSSSSSSSDDooy.", "....DDDDDDDDDDDrr.....", "..............rr......", "......................",
  };
  Surface s = FromArt(kArt, {{'W', pal::kWhite},
                             {'S', pal::kSteel},
                             {'D', pal::kSteelDark},
                             {'R', pal::kRed},
                             {'r', pal::kRedDark},
                             {'o', pal::kOrange},
                             {'y', pal::kYellow}});
  Outline(s);
  return s;
}

Surface MakeGunner() {
  // Kneeling, so that his boots rest on row 12: placed at Top 95 he stands on the tower roof.
  static constexpr std::string_view kArt[] = {
      "................", "........HHHH....", ".......HHHHHH...", ".......HkssHH...",
      "........ssss....", ".gggggggggUuu...", "....gg.ssUuUuu..", ".......uuuuuUu..",
      "......uuUuuuuu..", "......uuuuuuuu..", ".....bbbu.uuu...", ".....bbb..bbbb..",
      "................", "................", "................", "................",
  };
  Surface s = FromArt(kArt, {{'H', kUniformDark},
                             {'k', pal::kInk},
                             {'s', pal::kSkin},
                             {'u', kUniform},
                             {'U', kUniformLight},
                             {'g', pal::kSteelDark},
                             {'b', kBoots}});
  Outline(s);
  return s;
}

Surface MakeMenuButton() {
  constexpr int kSize = 32;
  Surface s(kSize, kSize, kSpriteKey);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      // Rounded corners: the outer two pixels of each corner stay transparent.
      const int cx = std::min(x, kSize - 1 - x);
      const int cy = std::min(y, kSize - 1 - y);
      if (cx + cy < 2) continue;
      uint32_t c;
      if (cx == 0 || cy == 0 || cx + cy == 2) {
        c = pal::kInk;
      } else if (x <= 2 || y <= 2) {
        c = kButtonLight;
      } else if (x >= kSize - 3 || y >= kSize - 3) {
        c = kButtonDark;
      } else {
        c = Mix(Mix(kButtonFace, kButtonLight, 0.25), kButtonFace, static_cast<double>(y) / kSize);
      }
      s.SetPixel(x, y, c);
    }
  }
  // A list icon above the word.
  for (int i = 0; i < 3; ++i) {
    const int y = 7 + 4 * i;
    s.FillRect(9, y + 1, 15, 2, pal::kInk);
    s.FillRect(8, y, 15, 2, pal::kWhite);
  }
  static constexpr std::string_view kWord[] = {
      "X...X.XXXX.X..X.X..X", "XX.XX.X....XX.X.X..X", "X.X.X.XXX..X.XX.X..X",
      "X...X.X....X..X.X..X", "X...X.XXXX.X..X..XX.",
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 20; ++x) {
        if (kWord[y][x] != 'X') continue;
        if (pass == 0) {
          s.SetPixel(7 + x, 20 + y, pal::kInk);
        } else {
          s.SetPixel(6 + x, 19 + y, pal::kYellow);
        }
      }
    }
  }
  return s;
}

}  // namespace kav::artgen
