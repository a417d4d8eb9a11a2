#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Inclusive pixel rectangle.
struct Box {
  int x0, y0, x1, y1;
  constexpr bool Contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
  constexpr int W() const { return x1 - x0 + 1; }
  constexpr int H() const { return y1 - y0 + 1; }
};

// The game hit-tests against this picture, so these rectangles are load-bearing.
constexpr Box kHqRoof{55, 352, 205, 357};
constexpr Box kHqBody{60, 358, 200, 529};
constexpr Box kCentreRoof{295, 275, 435, 280};
constexpr Box kCentreBody{300, 281, 430, 529};
constexpr Box kTowerRoof{560, 108, 799, 113};
constexpr Box kTowerBody{560, 114, 799, 340};
constexpr Box kTowerPillar{560, 341, 600, 529};
constexpr Box kGate{601, 341, 799, 529};
constexpr Box kLedge{715, 377, 760, 382};
constexpr Box kBand{0, 530, 799, 599};
constexpr Box kWaterLeft{200, 531, 299, 599};
constexpr Box kWaterRight{601, 531, 799, 599};
constexpr Box kClockStrip{300, 560, 624, 594};
constexpr Box kMagazineStrip{3, 560, 102, 594};

constexpr std::array kSolidBoxes{kHqBody, kCentreBody, kTowerBody, kTowerPillar, kLedge, kBand};
constexpr std::array kPadBoxes{kHqRoof, kCentreRoof, kTowerRoof};

// Where the culprit appears on the tower face and pillar (11 x 12 sprite).
constexpr std::array<std::array<int, 2>, 3> kCulpritSpots{{{590, 290}, {590, 330}, {590, 362}}};

uint32_t Hash(int x, int y, uint32_t salt) {
  uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [&](int shift) {
    const double ca = static_cast<double>((a >> shift) & 0xFF);
    const double cb = static_cast<double>((b >> shift) & 0xFF);
    return static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

// Ordered 4 x 4 dither: true where a pixel should take the second colour of a mix of weight f.
bool Dither(int x, int y, double f) {
  static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return f > (kBayer[y & 3][x & 3] + 0.5) / 16.0;
}

void Fill(Surface& s, const Box& b, uint32_t colour) {
  s.FillRect(b.x0, b.y0, b.W(), b.H(), colour);
}

void Span(Surface& s, int x0, int x1, int y, uint32_t colour) {
  s.FillRect(x0, y, x1 - x0 + 1, 1, colour);
}

struct SkyStop {
  int y;
  uint32_t colour;
};
constexpr SkyStop kSkyStops[] = {
    {0, pal::kSkyTop}, {150, 0x2C2656},     {270, pal::kSkyMid},
    {370, 0xA5507A},   {445, pal::kSkyLow}, {529, pal::kSkyHorizon},
};

uint32_t SkyGradient(double y) {
  for (size_t i = 1; i < std::size(kSkyStops); ++i) {
    if (y <= kSkyStops[i].y) {
      const auto& a = kSkyStops[i - 1];
      const auto& b = kSkyStops[i];
      return Mix(a.colour, b.colour, (y - a.y) / static_cast<double>(b.y - a.y));
    }
  }
  return kSkyStops[std::size(kSkyStops) - 1].colour;
}

// The sky is a short ladder of flat bands whose seams are dithered, like an indexed-colour
// picture, rather than a smooth ramp.
constexpr int kSkyBandHeight = 22;

uint32_t SkyBand(int band) {
  return SkyGradient(band * kSkyBandHeight + kSkyBandHeight / 2.0);
}

uint32_t SkyAt(int x, int y) {
  const double pos = (y - kSkyBandHeight / 2.0) / kSkyBandHeight;
  const int band = static_cast<int>(std::floor(pos));
  const double frac = pos - band;
  const double seam = std::clamp((frac - 0.55) / 0.45, 0.0, 1.0);
  return Dither(x, y, seam) ? SkyBand(band + 1) : SkyBand(std::max(band, 0));
}

void DrawSky(Surface& s) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) s.SetPixel(x, y, SkyAt(x, y));
  }
  for (int y = 0; y < 300; ++y) {
    const uint32_t chance = static_cast<uint32_t>(std::max(0, 260 - y) / 26);
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t h = Hash(x, y, 11);
      if (h % 1000 >= chance) continue;
      const bool bright = (h >> 12) % 4 == 0;
      s.SetPixel(x, y, Mix(SkyAt(x, y), bright ? 0xFFF6E0 : 0xB8B8E0, bright ? 0.95 : 0.55));
    }
  }
  constexpr std::array<std::array<int, 2>, 6> kBigStars{
      {{150, 30}, {428, 84}, {262, 176}, {36, 214}, {684, 26}, {520, 142}}};
  for (const auto& [x, y] : kBigStars) {
    const uint32_t glint = Mix(SkyAt(x, y), 0xDDE4FF, 0.55);
    s.SetPixel(x - 1, y, glint);
    s.SetPixel(x + 1, y, glint);
    s.SetPixel(x, y - 1, glint);
    s.SetPixel(x, y + 1, glint);
    s.SetPixel(x, y, 0xFFFBEA);
  }
}

// A low sun in the gap between the centre building and the tower, half sunk behind the city.
void DrawSun(Surface& s) {
  constexpr int kCx = 496;
  constexpr int kCy = 446;
  constexpr int kRadius = 38;
  constexpr int kGlow = 30;
  for (int y = kCy - kRadius - kGlow; y <= kCy + kRadius + kGlow && y < kBand.y0; ++y) {
    for (int x = kCx - kRadius - kGlow; x <= kCx + kRadius + kGlow; ++x) {
      const double d = std::hypot(x - kCx, y - kCy);
      if (d <= kRadius) {
        const int below = y - (kCy - 6);
        // Thinning horizontal cuts through the lower half of the disc.
        if (below > 0 && (below % 9) >= 9 - std::min(4, below / 9 + 1)) continue;
        const double t = static_cast<double>(y - (kCy - kRadius)) / (2.0 * kRadius);
        const uint32_t c = Dither(x, y, t * 3.0 - std::floor(t * 3.0))
                               ? Mix(0xFFF2C0, 0xFFA860, std::ceil(t * 3.0) / 3.0)
                               : Mix(0xFFF2C0, 0xFFA860, std::floor(t * 3.0) / 3.0);
        s.SetPixel(x, y, c);
      } else if (d <= kRadius + kGlow) {
        const double glow = 1.0 - (d - kRadius) / kGlow;
        if (Dither(x, y, glow * glow * 0.9)) s.SetPixel(x, y, Mix(SkyAt(x, y), 0xFFD890, 0.35));
      }
    }
  }
}

struct Puff {
  int cx, cy, rx, ry;
};
struct Cloud {
  int baseline;  // clouds are flat-bottomed
  std::vector<Puff> puffs;
  uint32_t body, lit, rim;
};

void DrawCloud(Surface& s, const Cloud& c) {
  int left = kWidth;
  int right = 0;
  int top = kHeight;
  for (const auto& p : c.puffs) {
    left = std::min(left, p.cx - p.rx);
    right = std::max(right, p.cx + p.rx);
    top = std::min(top, p.cy - p.ry);
  }
  auto inside = [&](int x, int y) {
    if (y > c.baseline) return false;
    for (const auto& p : c.puffs) {
      const double dx = static_cast<double>(x - p.cx) / p.rx;
      const double dy = static_cast<double>(y - p.cy) / p.ry;
      if (dx * dx + dy * dy <= 1.0) return true;
    }
    return false;
  };
  for (int y = top; y <= c.baseline; ++y) {
    for (int x = left; x <= right; ++x) {
      if (!inside(x, y)) continue;
      int depth = 0;  // distance to the lit underside
      while (depth < 8 && inside(x, y + depth + 1)) ++depth;
      uint32_t colour = c.body;
      if (depth == 0) {
        colour = c.rim;
      } else if (depth <= 2) {
        colour = c.lit;
      } else if (depth <= 6) {
        colour = Dither(x, y, (7 - depth) / 5.0) ? c.lit : c.body;
      } else if (!inside(x, y - 1)) {
        colour = Mix(c.body, c.lit, 0.35);
      }
      s.SetPixel(x, y, colour);
    }
  }
}

void DrawClouds(Surface& s) {
  const Cloud clouds[] = {
      {40, {{430, 34, 60, 8}, {480, 28, 36, 10}, {540, 35, 52, 6}, {380, 37, 28, 4}}, 0x2E2A5A, 0x5E4578, 0x8A5A88},
      {132, {{130, 124, 70, 9}, {180, 117, 40, 12}, {240, 126, 56, 7}, {70, 129, 30, 4}}, 0x3E3366, 0x7A4E7E, 0xB06A86},
      {96, {{690, 90, 50, 6}, {730, 85, 26, 8}, {770, 91, 40, 5}}, 0x352E60, 0x6C4A7C, 0x9E6286},
      {236, {{40, 228, 48, 7}, {80, 223, 26, 9}, {130, 231, 44, 5}}, 0x5A3F6E, 0x9C587A, 0xD4788A},
      {206, {{470, 200, 58, 6}, {500, 195, 28, 8}, {540, 203, 30, 4}}, 0x553C6C, 0x955478, 0xCC7488},
      {330, {{220, 324, 40, 6}, {250, 320, 22, 7}, {190, 328, 20, 3}}, 0x7A4878, 0xC86878, 0xF0947E},
      {392, {{470, 388, 50, 5}, {505, 384, 22, 6}, {430, 390, 24, 3}}, 0x9A5478, 0xE07E70, 0xFFB27A},
  };
  for (const auto& c : clouds) DrawCloud(s, c);
}

struct SkylineLayer {
  uint32_t salt;
  int minTop, maxTop;
  int minWidth, maxWidth;
  uint32_t body, edge, windowLit, windowDim;
  int windowChance;  // in 100ths
  int sunDip;        // how far blocks in front of the sun are lowered
};

void DrawSkylineLayer(Surface& s, const SkylineLayer& layer) {
  int x = -8;
  int index = 0;
  while (x < kWidth) {
    const uint32_t h = Hash(index, 0, layer.salt);
    const int w = layer.minWidth + static_cast<int>(h % static_cast<uint32_t>(layer.maxWidth - layer.minWidth + 1));
    int top = layer.minTop + static_cast<int>((h >> 8) % static_cast<uint32_t>(layer.maxTop - layer.minTop + 1));
    if (x + w > 452 && x < 540) top += layer.sunDip;
    const int kind = static_cast<int>((h >> 20) % 6);
    for (int y = top; y < kBand.y0; ++y) Span(s, x, x + w - 1, y, layer.body);
    // Left edge catches the last light; roofs get a small setback or mast now and then.
    for (int y = top; y < kBand.y0; ++y) s.SetPixel(x, y, layer.edge);
    if (kind == 0) {
      for (int y = top - 8; y < top; ++y) Span(s, x + 3, x + w - 4, y, layer.body);
      Span(s, x + 3, x + 3, top - 8, layer.edge);
    } else if (kind == 1) {
      const int mx = x + w / 2;
      for (int y = top - 22; y < top; ++y) s.SetPixel(mx, y, layer.body);
      s.SetPixel(mx, top - 23, pal::kRed);
    } else if (kind == 2) {
      for (int i = 0; i < w / 2; ++i) Span(s, x + i, x + w - 1 - i, top - 1 - i / 2, layer.body);
    }
    for (int wy = top + 4; wy < kBand.y0 - 3; wy += 5) {
      for (int wx = x + 2; wx < x + w - 2; wx += 3) {
        const uint32_t hw = Hash(wx, wy, layer.salt + 1);
        if (static_cast<int>(hw % 100) >= layer.windowChance) continue;
        const uint32_t c = (hw >> 10) % 3 == 0 ? layer.windowDim : layer.windowLit;
        s.SetPixel(wx, wy, c);
        s.SetPixel(wx, wy + 1, c);
      }
    }
    x += w + static_cast<int>((h >> 28) % 3);
    ++index;
  }
}

void DrawSkyline(Surface& s) {
  DrawSkylineLayer(s, {21, 392, 452, 14, 34, 0x9A5C80, 0xB46E88, 0xE8A070, 0xB07880, 9, 44});
  DrawSkylineLayer(s, {57, 430, 492, 18, 46, 0x694878, 0x7E5686, 0xF2C26A, 0x8C5E80, 28, 14});
  // Street-level haze in front of the distant blocks.
  for (int y = 506; y < kBand.y0; ++y) {
    const double t = (y - 506) / 24.0;
    for (int x = 0; x < kWidth; ++x) {
      if (Dither(x, y, t * 0.7)) s.SetPixel(x, y, Mix(s.Pixel(x, y), pal::kSkyHorizon, 0.45));
    }
  }
}

void DrawGate(Surface& s) {
  // The underside of the tower throws a soft shadow into the opening.
  for (int y = kGate.y0; y <= kGate.y0 + 14; ++y) {
    const double t = 1.0 - (y - kGate.y0) / 15.0;
    for (int x = kGate.x0; x <= kGate.x1; ++x) {
      if (Dither(x, y, t)) s.SetPixel(x, y, Mix(s.Pixel(x, y), 0x1A1530, 0.7));
    }
  }
  for (int x = kGate.x0; x <= kGate.x0 + 8; ++x) {
    const double t = 1.0 - (x - kGate.x0) / 9.0;
    for (int y = kGate.y0; y <= kGate.y1; ++y) {
      if (Dither(x, y, t * 0.8)) s.SetPixel(x, y, Mix(s.Pixel(x, y), 0x1A1530, 0.6));
    }
  }
  // Two lanterns hanging from the lintel.
  for (const int lx : {660, 780}) {
    for (int y = kGate.y0; y < kGate.y0 + 8; ++y) s.SetPixel(lx, y, 0x14101E);
    s.FillRect(lx - 1, kGate.y0 + 8, 3, 4, pal::kYellow);
    s.SetPixel(lx, kGate.y0 + 9, 0xFFF6D0);
    s.SetPixel(lx - 1, kGate.y0 + 12, 0x14101E);
    s.SetPixel(lx + 1, kGate.y0 + 12, 0x14101E);
  }
}

uint32_t WindowColour(uint32_t h) {
  switch (h % 7) {
    case 0:
    case 1:
    case 2:
      return pal::kWindowLit;
    case 3:
      return 0xF0A850;
    case 4:
      return 0xC8E0F0;
    default:
      return pal::kWindowDim;
  }
}

// A window of at most 6 x 6 pixels: any larger would let the helicopter sink into a wall unseen.
void DrawWindow(Surface& s, int x, int y, int w, int h, uint32_t colour) {
  s.FillRect(x, y, w, h, colour);
  if (colour != pal::kWindowDim) {
    // A drawn blind on the top row.
    s.FillRect(x, y, w, 1, Mix(colour, 0x000000, 0.25));
  }
}

void DrawHeadquarters(Surface& s) {
  using pal::kSolidA;
  using pal::kSolidB;
  Fill(s, kHqBody, kSolidA);
  Fill(s, {kHqBody.x0, 358, kHqBody.x1, 362}, kSolidB);
  Fill(s, {kHqBody.x0, 358, kHqBody.x0 + 2, kHqBody.y1}, kSolidB);
  Fill(s, {kHqBody.x1 - 2, 358, kHqBody.x1, kHqBody.y1}, kSolidB);
  for (int floor = 0; floor < 7; ++floor) {
    const int y = 370 + floor * 17;
    Span(s, kHqBody.x0, kHqBody.x1, y + 8, kSolidB);
    for (int x = 67; x + 6 <= 194; x += 11) {
      if (floor >= 6 && x > 110 && x < 150) continue;  // the entrance
      DrawWindow(s, x, y, 6, 6, WindowColour(Hash(x, y, 3)));
    }
  }
  for (int x = 67; x + 6 <= 194; x += 11) {
    if (x > 100 && x < 160) continue;
    DrawWindow(s, x, 494, 6, 6, WindowColour(Hash(x, 494, 3)));
    DrawWindow(s, x, 511, 6, 6, WindowColour(Hash(x, 511, 3)));
  }
  // Entrance with a lit fanlight and a lamp either side.
  Fill(s, {116, 486, 144, kHqBody.y1}, kSolidB);
  for (int x = 119; x <= 139; x += 7) s.FillRect(x, 489, 5, 3, pal::kWindowLit);
  for (int x = 120; x <= 140; x += 10) {
    for (int y = 496; y <= 526; y += 6) s.FillRect(x, y, 1, 4, 0x4A506E);
  }
  s.FillRect(110, 500, 3, 4, pal::kYellow);
  s.FillRect(148, 500, 3, 4, pal::kYellow);
  // Emblem over the door: a gold badge.
  s.FillRect(125, 477, 3, 1, pal::kGold);
  s.FillRect(133, 477, 3, 1, pal::kGold);
  s.FillRect(126, 476, 1, 3, pal::kGold);
  s.FillRect(134, 476, 1, 3, pal::kGold);
  s.FillRect(129, 475, 3, 5, pal::kGold);
}

void DrawCentreBuilding(Surface& s) {
  using pal::kSolidA;
  using pal::kSolidB;
  Fill(s, kCentreBody, kSolidA);
  Fill(s, {kCentreBody.x0, 281, kCentreBody.x1, 285}, kSolidB);
  for (int x = kCentreBody.x0; x <= kCentreBody.x1; x += 26) {
    Fill(s, {x, 286, std::min(x + 2, kCentreBody.x1), kCentreBody.y1}, kSolidB);
  }
  Fill(s, {kCentreBody.x1 - 2, 286, kCentreBody.x1, kCentreBody.y1}, kSolidB);
  for (int y = 292; y + 6 <= 512; y += 12) {
    for (int x = kCentreBody.x0; x < kCentreBody.x1; x += 26) {
      for (int wx = x + 5; wx + 5 <= x + 25 && wx + 5 <= kCentreBody.x1 - 3; wx += 7) {
        DrawWindow(s, wx, y, 5, 6, WindowColour(Hash(wx, y, 5)));
      }
    }
  }
  // Ground-floor shop fronts under awnings.
  Fill(s, {kCentreBody.x0, 512, kCentreBody.x1, 514}, kSolidB);
  for (int x = kCentreBody.x0 + 5; x + 5 < kCentreBody.x1 - 3; x += 9) {
    s.FillRect(x, 515, 6, 1, (x / 9) % 2 ? pal::kRed : pal::kWhite);
    s.FillRect(x, 518, 6, 6, (x / 9) % 3 ? 0xF2C46A : 0xE8E0C8);
  }
}

void DrawTower(Surface& s) {
  using pal::kSolidA;
  using pal::kSolidB;
  Fill(s, kTowerBody, kSolidB);
  Fill(s, kTowerPillar, kSolidB);
  Fill(s, {kTowerBody.x0, 114, kTowerBody.x1, 118}, kSolidA);
  Fill(s, {kTowerBody.x0, 334, kTowerBody.x1, 340}, kSolidA);
  // Vertical piers; the face at x 560 stays plain so a shot always stops on it.
  for (int x = 604; x <= 796; x += 48) Fill(s, {x, 119, x + 3, 333}, kSolidA);
  for (int floor = 0; floor < 15; ++floor) {
    const int y = 126 + floor * 14;
    if (y + 6 > 330) break;
    for (int x = 568; x + 6 <= 797; x += 12) {
      const bool onPier = ((x - 604) % 48 + 48) % 48 < 6 || ((x + 5 - 604) % 48 + 48) % 48 < 4;
      if (onPier) continue;
      bool nearCulprit = false;
      for (const auto& [cx, cy] : kCulpritSpots) {
        if (x + 6 > cx - 3 && x < cx + 14 && y + 6 > cy - 3 && y < cy + 15) nearCulprit = true;
      }
      if (nearCulprit) continue;
      DrawWindow(s, x, y, 6, 6, WindowColour(Hash(x, y, 7)));
    }
  }
  // Dark shuttered bays where the culprit shows himself.
  for (const auto& [cx, cy] : kCulpritSpots) {
    Fill(s, {cx - 1, cy - 2, std::min(cx + 11, kTowerPillar.x1), cy - 1}, kSolidA);
    Fill(s, {cx, cy, cx + 10, cy + 11}, kSolidA);
  }
  // Rusticated pillar stones.
  for (int y = 347; y <= kTowerPillar.y1; y += 9) {
    Span(s, kTowerPillar.x0 + 2, kTowerPillar.x1, y, kSolidA);
    const int joint = (y / 9) % 2 ? 574 : 582;
    Fill(s, {joint, y + 1, joint, std::min(y + 8, kTowerPillar.y1)}, kSolidA);
  }
  // A red warning light on each pillar course.
  for (int y = 420; y <= 500; y += 40) s.FillRect(566, y + 3, 2, 2, pal::kRed);
  Fill(s, kLedge, kSolidA);
  Span(s, kLedge.x0, kLedge.x1, kLedge.y1, kSolidB);
  for (int x = kLedge.x0 + 3; x <= kLedge.x1 - 3; x += 6) s.SetPixel(x, kLedge.y0 + 2, kSolidB);
}

bool InWater(int x, int y) {
  return kWaterLeft.Contains(x, y) || kWaterRight.Contains(x, y);
}

void DrawBand(Surface& s) {
  using pal::kSolidA;
  using pal::kSolidB;
  Fill(s, kBand, kSolidA);
  for (int y = kBand.y0 + 1; y <= kBand.y1; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (kClockStrip.Contains(x, y) || kMagazineStrip.Contains(x, y)) continue;
      if (InWater(x, y)) {
        const int depth = y - kBand.y0;
        if (depth % 3 != 1) continue;
        // Short wave crests; nearer the surface they are denser and catch the sunset.
        const int stride = 7 + depth / 10;
        const int shift = static_cast<int>(Hash(depth, 0, 13) % 23u);
        const int phase = (x + shift) % stride;
        const int len = depth < 12 ? 4 : 2 + static_cast<int>(Hash(x / stride, y, 17) % 2u);
        if (phase >= len) continue;
        uint32_t c = depth < 12 ? pal::kWaterLight : pal::kWater;
        if (depth < 24 && Hash(x / stride, y, 19) % 4 == 0) c = 0xE89A6A;
        s.SetPixel(x, y, c);
        continue;
      }
      const int row = y - kBand.y0;
      if (row <= 3) {
        s.SetPixel(x, y, kSolidB);  // kerb
      } else if (row <= 27) {
        const int course = (row - 4) / 6;
        const int inCourse = (row - 4) % 6;
        const int joint = (x + (course % 2) * 8) % 16;
        if (inCourse == 5 || joint == 0) {
          s.SetPixel(x, y, kSolidB);
        } else if (inCourse == 0 && joint >= 2 && joint <= 6) {
          s.SetPixel(x, y, 0x4C5272);  // worn stone edge catching the light
        }
      } else if (row == 28 || row == 29 || y == 595 || y >= 597) {
        s.SetPixel(x, y, kSolidB);
      } else if (y < 595) {
        // Big quay-wall blocks, left plain behind the digit strips.
        const int course = (y - 560) / 12;
        const int inCourse = (y - 560) % 12;
        const int joint = (x + (course % 2) * 13) % 26;
        if (inCourse == 11 || joint == 0) {
          s.SetPixel(x, y, kSolidB);
        } else if (inCourse == 0 && joint >= 2 && joint <= 5) {
          s.SetPixel(x, y, 0x4C5272);
        }
      }
    }
  }
  // Quay edges, so that stone and wave detail never join into one long gap.
  for (const int qx : {kWaterLeft.x0 - 1, kWaterLeft.x1 + 1, kWaterRight.x0 - 1}) {
    for (int y = kBand.y0 + 1; y <= kBand.y1; ++y) {
      if (!kClockStrip.Contains(qx, y)) s.SetPixel(qx, y, kSolidB);
    }
  }
  for (const int fx : {kMagazineStrip.x0 - 1, kMagazineStrip.x1 + 1}) {
    Fill(s, {fx, kMagazineStrip.y0, fx, kMagazineStrip.y1}, kSolidB);
  }
  // Lantern light from the gate shimmering on the water below it.
  for (const int lx : {660, 780}) {
    for (int y = kBand.y0 + 2; y <= kBand.y1; y += 3) {
      if (kClockStrip.Contains(lx, y)) continue;
      const int wobble = static_cast<int>(Hash(lx, y, 23) % 3u) - 1;
      const int len = y < 560 ? 3 : 2;
      s.FillRect(lx - len / 2 + wobble, y, len, 1, y < 560 ? pal::kYellow : 0xE8A050);
    }
  }
}

void DrawRoofDetails(Surface& s) {
  constexpr uint32_t kMast = 0x1C1A2C;
  for (int y = 322; y < kHqRoof.y0; ++y) s.SetPixel(64, y, kMast);
  for (int y = 336; y < kHqRoof.y0; y += 4) Span(s, 62, 66, y, kMast);
  s.FillRect(63, 320, 3, 2, pal::kRed);
  for (int y = 250; y < kCentreRoof.y0; ++y) s.SetPixel(428, y, kMast);
  Span(s, 425, 431, 258, kMast);
  s.FillRect(427, 248, 3, 2, pal::kRed);
  // Pad lips: a shade row beneath each roof slab edge.
  for (const Box& pad : kPadBoxes) {
    for (int x = pad.x0; x <= pad.x1; ++x) {
      if (!kHqBody.Contains(x, pad.y1 + 1) && !kCentreBody.Contains(x, pad.y1 + 1) &&
          !kTowerBody.Contains(x, pad.y1 + 1)) {
        s.SetPixel(x, pad.y1 + 1, Mix(s.Pixel(x, pad.y1 + 1), 0x000000, 0.45));
      }
    }
  }
}

// Interpolated and blended colours could land exactly on a collision key by chance; outside the
// solid and pad areas such a pixel would be read as a wall, so it is moved one step away.
void KeepKeysUnique(Surface& s) {
  const uint32_t keys[] = {pal::kSolidA, pal::kSolidB, pal::kPad};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t c = s.Pixel(x, y);
      const bool solidArea =
          std::any_of(kSolidBoxes.begin(), kSolidBoxes.end(), [&](const Box& b) { return b.Contains(x, y); });
      const bool padArea =
          std::any_of(kPadBoxes.begin(), kPadBoxes.end(), [&](const Box& b) { return b.Contains(x, y); });
      if (padArea) continue;
      const bool clash = solidArea ? c == pal::kPad : std::find(std::begin(keys), std::end(keys), c) != std::end(keys);
      if (clash) s.SetPixel(x, y, c ^ 0x000001);
    }
  }
}

}  // namespace

Surface MakeBackdrop() {
  Surface s(kWidth, kHeight, pal::kSkyTop);
  DrawSky(s);
  DrawSun(s);
  DrawClouds(s);
  DrawSkyline(s);
  DrawGate(s);
  DrawHeadquarters(s);
  DrawCentreBuilding(s);
  DrawTower(s);
  DrawBand(s);
  for (const Box& pad : kPadBoxes) Fill(s, pad, pal::kPad);
  DrawRoofDetails(s);
  KeepKeysUnique(s);
  return s;
}

}  // namespace kav::artgen
