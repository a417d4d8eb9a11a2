#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "art.h"
#include "gfx/art_files.h"
#include "palette.h"

// The game dialog's pictures: four 32 x 32 icons and the crosshair pointer. The shapes are
// drawn from geometry, the glyphs by hand; edges get a rim and a few deliberate in-between
// shades, never a blend with the key, so they stay crisp at 1x over any dialog face.
namespace kav::artgen {
namespace {

using pal::kSpriteKey;

constexpr int kSize = 32;

// Question disc.
constexpr uint32_t kDiscRim = 0x0C4020;
constexpr uint32_t kDiscDeep = 0x1A7A3C;
constexpr uint32_t kDiscMid = 0x2EA450;
constexpr uint32_t kDiscLight = 0x5CD07A;
constexpr uint32_t kDiscPale = 0x9CE8A8;
constexpr uint32_t kDiscShine = 0xE2FAE0;
constexpr uint32_t kGlyphWhite = 0xFCFCF8;

// Warning triangle.
constexpr uint32_t kSignRim = 0x3A2806;
constexpr uint32_t kSignPale = 0xFFF7C4;
constexpr uint32_t kSignLight = 0xFFEA70;
constexpr uint32_t kSignAmber = 0xF4C232;
constexpr uint32_t kSignDeep = 0xD8962A;
constexpr uint32_t kMarkBlack = 0x141008;

// Help book.
constexpr uint32_t kBookInk = 0x26103E;
constexpr uint32_t kCoverLight = 0xA67EE2;
constexpr uint32_t kCover = 0x7848C0;
constexpr uint32_t kCoverLow = 0x6438AA;
constexpr uint32_t kCoverDark = 0x4C2888;
constexpr uint32_t kSpine = 0x5C2E9E;
constexpr uint32_t kSpineLight = 0x9668D2;
constexpr uint32_t kSpineCrease = 0x361868;
constexpr uint32_t kPage = 0xF4EEDC;
constexpr uint32_t kPageShade = 0xC8BCA4;
constexpr uint32_t kBandGold = 0xE8B030;
constexpr uint32_t kBandGoldDark = 0x9A6A18;

// Emblem.
constexpr uint32_t kGoldRim = 0x5A3806;
constexpr uint32_t kGoldDeep = 0xB07818;
constexpr uint32_t kGold = 0xE0A828;
constexpr uint32_t kGoldLight = 0xF8D860;
constexpr uint32_t kGoldShine = 0xFFF6C8;
constexpr uint32_t kRibbonRim = 0x4A0E18;
constexpr uint32_t kRibbonDark = 0x9A1E2A;
constexpr uint32_t kRibbon = 0xD8333A;
constexpr uint32_t kRibbonLight = 0xF26A5E;

// Cursor.
constexpr uint32_t kCursorWhite = 0xFFFFFF;
constexpr uint32_t kCursorShadow = 0x000000;

struct Ink {
  char symbol;
  uint32_t colour;
};

// Paints rows of symbols with their top left at (x0, y0); '.' leaves the pixel as it is.
// Unknown symbols and ragged rows throw, so a typo in the art cannot pass as a colour.
void Paint(Surface& s, int x0, int y0, std::span<const std::string_view> rows, std::initializer_list<Ink> legend) {
  for (size_t y = 0; y < rows.size(); ++y) {
    if (rows[y].size() != rows.front().size()) {
      throw std::logic_error("dialog art row " + std::to_string(y) + " has the wrong width");
    }
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const char c = rows[y][x];
      if (c == '.') continue;
      const auto it = std::find_if(legend.begin(), legend.end(), [&](const Ink& i) { return i.symbol == c; });
      if (it == legend.end()) throw std::logic_error(std::string("dialog art symbol not in legend: ") + c);
      s.SetPixel(x0 + static_cast<int>(x), y0 + static_cast<int>(y), it->colour);
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

// Which pixels a shape covers: at least half of a 4 x 4 grid of samples inside it. Shapes
// take continuous coordinates; pixel (x, y) spans [x, x + 1) x [y, y + 1).
using Mask = std::array<std::array<bool, kSize>, kSize>;

Mask Cover(const std::function<bool(double, double)>& inside) {
  Mask m{};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      int hits = 0;
      for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) hits += inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4);
      }
      m[y][x] = hits >= 8;
    }
  }
  return m;
}

bool In(const Mask& m, int x, int y) {
  return x >= 0 && y >= 0 && x < kSize && y < kSize && m[y][x];
}

// A covered pixel with an uncovered side neighbour: where the rim goes.
bool Edge(const Mask& m, int x, int y) {
  return In(m, x, y) && (!In(m, x - 1, y) || !In(m, x + 1, y) || !In(m, x, y - 1) || !In(m, x, y + 1));
}

int EdgeNeighbours(const Mask& m, int x, int y) {
  return Edge(m, x - 1, y) + Edge(m, x + 1, y) + Edge(m, x, y - 1) + Edge(m, x, y + 1);
}

// Paints the mask's rim in one colour and softens each inner stair corner of it (a fill pixel
// with rim on two sides) with a shade halfway to the rim, the hand-pixeller's edge smoothing.
void Rim(Surface& s, const Mask& m, uint32_t rim) {
  const Surface fill = s;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (Edge(m, x, y)) {
        s.SetPixel(x, y, rim);
      } else if (In(m, x, y) && EdgeNeighbours(m, x, y) >= 2) {
        s.SetPixel(x, y, Mix(fill.Pixel(x, y), rim, 0.45));
      }
    }
  }
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax;
  const double vy = by - ay;
  const double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
  return std::hypot(px - ax - t * vx, py - ay - t * vy);
}

double Cross(double ax, double ay, double bx, double by, double px, double py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// A bold question mark, 10 x 16; the stem sits at columns 4..6. 'o' marks the rounding shades.
constexpr std::string_view kQuestion[] = {
    "..oXXXXo..", ".XXXXXXXX.", "XXXX..XXXX", "XXX....XXX", "XXX....XXX", "......XXXX", ".....XXXX.", "....XXXX..",
    "....XXX...", "....XXX...", "....XXX...", "..........", "..........", "....oXo...", "....XXX...", "....oXo...",
};

// The glyph's drop shadow, then the glyph.
void Glyph(Surface& s, int x0, int y0, uint32_t colour, uint32_t edge, uint32_t shadow) {
  Paint(s, x0 + 1, y0 + 1, kQuestion, {{'X', shadow}, {'o', shadow}});
  Paint(s, x0, y0, kQuestion, {{'X', colour}, {'o', edge}});
}

// Bands of a vertical gradient with a checkered row where two bands meet, as drawn by hand.
uint32_t Banded(int x, int y, std::span<const int> starts, std::span<const uint32_t> colours) {
  int band = 0;
  while (band + 1 < static_cast<int>(colours.size()) && y >= starts[band]) ++band;
  if (band + 1 < static_cast<int>(colours.size()) && y == starts[band] - 1 && (x + y) % 2 == 0) ++band;
  return colours[band];
}

}  // namespace

Surface MakeIconQuestion() {
  constexpr double kC = 16.0;
  constexpr double kR = 14.0;
  const Mask disc = Cover([&](double x, double y) { return std::hypot(x - kC, y - kC) < kR; });
  Surface s(kSize, kSize, kSpriteKey);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!disc[y][x]) continue;
      // A ball lit from the upper left: bands are circles about a point toward the light,
      // so they come out as clean arcs.
      const double d = std::hypot(x + 0.5 - 11.0, y + 0.5 - 10.0);
      uint32_t c = kDiscDeep;
      if (d < 16.5) c = kDiscMid;
      if (d < 11.0) c = kDiscLight;
      // Light bounced back up into the lower right rim: a thin crescent.
      const double dx = x + 0.5 - kC;
      const double dy = y + 0.5 - kC;
      const double r = std::hypot(dx, dy);
      if (r > kR - 2.6 && (dx + dy) / (r * 1.4142) > 0.82) c = kDiscMid;
      s.SetPixel(x, y, c);
    }
  }
  // A glossy highlight high on the left, clear of the glyph.
  static constexpr std::string_view kShine[] = {
      "...pSS", ".pSSSp", "pSSp..", "SSp...", "Sp....",
  };
  Paint(s, 5, 6, kShine, {{'S', kDiscShine}, {'p', kDiscPale}});
  Rim(s, disc, kDiscRim);
  Glyph(s, 10, 7, kGlyphWhite, Mix(kGlyphWhite, kDiscMid, 0.35), kDiscRim);
  return s;
}

Surface MakeIconWarning() {
  // A triangle with rounded corners: all points near an inner triangle.
  constexpr double kAx = 16.0, kAy = 5.2, kBx = 4.6, kBy = 26.6, kCx = 27.4, kCy = 26.6;
  constexpr double kRound = 2.6;
  const Mask sign = Cover([&](double x, double y) {
    const bool inside = Cross(kAx, kAy, kBx, kBy, x, y) <= 0 && Cross(kBx, kBy, kCx, kCy, x, y) <= 0 &&
                        Cross(kCx, kCy, kAx, kAy, x, y) <= 0;
    if (inside) return true;
    const double d = std::min({SegmentDistance(x, y, kAx, kAy, kBx, kBy), SegmentDistance(x, y, kBx, kBy, kCx, kCy),
                               SegmentDistance(x, y, kCx, kCy, kAx, kAy)});
    return d < kRound;
  });
  Surface s(kSize, kSize, kSpriteKey);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!sign[y][x]) continue;
      static constexpr int kStarts[] = {11, 19, 26};
      static constexpr uint32_t kTones[] = {kSignLight, pal::kYellow, kSignAmber, kSignDeep};
      s.SetPixel(x, y, Banded(x, y, kStarts, kTones));
    }
  }
  // A bevel one pixel inside the rim: lit on the upper left, deep along the base.
  const Surface flat = s;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!sign[y][x] || Edge(sign, x, y)) continue;
      if (Edge(sign, x, y + 1) && y > 20) {
        s.SetPixel(x, y, kSignDeep);
      } else if (Edge(sign, x - 1, y) || (Edge(sign, x, y - 1) && x <= 16)) {
        s.SetPixel(x, y, kSignPale);
      } else if (Edge(sign, x + 1, y)) {
        s.SetPixel(x, y, Mix(flat.Pixel(x, y), kSignDeep, 0.5));
      }
    }
  }
  Rim(s, sign, kSignRim);
  static constexpr std::string_view kMark[] = {
      "oXXo", "XXXX", "XXXX", "XXXX", "XXXX", "XXXX", "oXXo", ".XX.",
      ".XX.", ".oo.", "....", ".oo.", "oXXo", "oXXo", ".oo.",
  };
  Paint(s, 14, 11, kMark, {{'X', kMarkBlack}, {'o', Mix(kMarkBlack, pal::kYellow, 0.4)}});
  return s;
}

Surface MakeIconHelp() {
  Surface s(kSize, kSize, kSpriteKey);
  // The cover, with the page block and the back cover peeking out below and to the right.
  constexpr int kLeft = 4, kTop = 2, kRight = 25, kBottom = 26;
  const auto block = [&](int shift, uint32_t colour) {
    s.FillRect(kLeft + shift, kTop + shift, kRight - kLeft + 1, kBottom - kTop + 1, colour);
  };
  block(3, kBookInk);  // the back cover, all rim at this size
  block(2, kPageShade);
  block(1, kPage);
  for (int y = kTop; y <= kBottom; ++y) {
    for (int x = kLeft; x <= kRight; ++x) {
      static constexpr int kStarts[] = {15};
      static constexpr uint32_t kTones[] = {kCover, kCoverLow};
      uint32_t c = Banded(x, y, kStarts, kTones);
      if (x == kLeft + 1) c = kSpine;
      if (x == kLeft + 2) c = kSpineLight;
      if (x == kLeft + 3) c = kSpine;
      if (x == kLeft + 4) c = kSpineCrease;
      s.SetPixel(x, y, c);
    }
  }
  // Cover bevel.
  s.FillRect(kLeft + 5, kTop + 1, kRight - kLeft - 5, 1, kCoverLight);
  s.FillRect(kLeft + 5, kTop + 1, 1, kBottom - kTop - 1, kCoverLight);
  s.FillRect(kLeft + 5, kBottom - 1, kRight - kLeft - 5, 1, kCoverDark);
  s.FillRect(kRight - 1, kTop + 2, 1, kBottom - kTop - 2, kCoverDark);
  // Gold bands round the spine.
  for (const int y : {kTop + 3, kBottom - 4}) {
    s.FillRect(kLeft + 1, y, 3, 1, kBandGold);
    s.FillRect(kLeft + 1, y + 1, 3, 1, kBandGoldDark);
  }
  Mask book{};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) book[y][x] = s.Pixel(x, y) != kSpriteKey;
  }
  Rim(s, book, kBookInk);
  // The seam where the cover meets the pages.
  s.FillRect(kLeft + 1, kBottom, kRight - kLeft, 1, kBookInk);
  s.FillRect(kRight, kTop + 1, 1, kBottom - kTop, kBookInk);
  Glyph(s, 11, 6, pal::kYellow, Mix(pal::kYellow, kCover, 0.4), kBookInk);
  return s;
}

Surface MakeIconEmblem() {
  Surface s(kSize, kSize, kSpriteKey);
  // Two straps meet behind the medal in a V; the left one lies in front.
  constexpr double kStrapHalf = 3.3;
  const auto strapCentre = [](double y, bool left) {
    const double x = 8.5 + (15.2 - 8.5) * (y - 1.0) / 13.0;
    return left ? x : 32.0 - x;
  };
  for (const bool left : {false, true}) {
    const Mask strap = Cover(
        [&](double x, double y) { return y >= 1.0 && y < 17.0 && std::abs(x - strapCentre(y, left)) < kStrapHalf; });
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (!strap[y][x]) continue;
        const double u = (x + 0.5 - strapCentre(y + 0.5, left)) / kStrapHalf;
        uint32_t c = left ? kRibbon : kRibbonDark;
        if (left && u < -0.2 && u > -0.7) c = kRibbonLight;
        if (std::abs(u) < 0.2) c = pal::kYellow;
        if (!left && std::abs(u) < 0.2) c = kGoldDeep;
        s.SetPixel(x, y, c);
      }
    }
    Rim(s, strap, kRibbonRim);
  }
  constexpr double kCx = 16.0, kCy = 21.0, kR = 8.6;
  const Mask medal = Cover([&](double x, double y) { return std::hypot(x - kCx, y - kCy) < kR; });
  const Mask field = Cover([&](double x, double y) { return std::hypot(x - kCx, y - kCy) < kR - 2.5; });
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!medal[y][x]) continue;
      const double dx = x + 0.5 - kCx;
      const double dy = y + 0.5 - kCy;
      const double lit = -(dx + dy) / std::max(std::hypot(dx, dy), 0.001);  // 1 facing the upper left
      uint32_t c = kGold;
      if (!field[y][x]) {
        // The raised rim: bright toward the light, deep away from it.
        if (lit > 0.4) c = kGoldLight;
        if (lit < -0.4) c = kGoldDeep;
      } else if (Edge(field, x, y)) {
        c = kGoldDeep;  // the step down into the field
      }
      s.SetPixel(x, y, c);
    }
  }
  static constexpr std::string_view kStar[] = {
      "....X....", "...XXX...", "...XXX...", "XXXXXXXXX", ".XXXXXXX.",
      "..XXXXX..", "..XXXXX..", ".XXX.XXX.", ".XX...XX.",
  };
  constexpr int kStarX = 11, kStarY = 17;
  // Embossed: it stands out of the field with a shadow to the lower right.
  Paint(s, kStarX + 1, kStarY + 1, kStar, {{'X', kGoldDeep}});
  Paint(s, kStarX, kStarY, kStar, {{'X', kGoldShine}});
  Rim(s, medal, kGoldRim);
  // The clasp the straps pass through.
  static constexpr std::string_view kClasp[] = {
      "rrrrrrrr",
      "rLLLLLLr",
      "rGGGGGGr",
  };
  Paint(s, 12, 11, kClasp, {{'r', kGoldRim}, {'L', kGoldLight}, {'G', kGoldDeep}});
  return s;
}

Surface MakeCursorCross() {
  constexpr int kHot = art::kCursorCrossHotspot;
  constexpr int kNear = 4;  // the open centre: nothing closer to the hotspot than this
  constexpr int kFar = 11;
  Surface s(kSize, kSize, kSpriteKey);
  for (int r = kNear; r <= kFar; ++r) {
    s.SetPixel(kHot + r, kHot, kCursorWhite);
    s.SetPixel(kHot - r, kHot, kCursorWhite);
    s.SetPixel(kHot, kHot + r, kCursorWhite);
    s.SetPixel(kHot, kHot - r, kCursorWhite);
  }
  // A black rim all round each bar, so it reads on light and dark ground alike.
  const Surface bars = s;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (bars.Pixel(x, y) != kSpriteKey) continue;
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) near = near || bars.Pixel(x + dx, y + dy) == kCursorWhite;
      }
      if (near) s.SetPixel(x, y, kCursorShadow);
    }
  }
  return s;
}

}  // namespace kav::artgen
