#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "art.h"
#include "gfx/art_files.h"
#include "palette.h"

namespace kav::artgen {
namespace {

using pal::kSpriteKey;

struct Picture {
  const char* name;
  Surface (*make)();
};

void PrintTo(const Picture& p, std::ostream* os) {
  *os << p.name;
}

const Picture kIcons[] = {
    {"Question", MakeIconQuestion},
    {"Warning", MakeIconWarning},
    {"Help", MakeIconHelp},
    {"Emblem", MakeIconEmblem},
};

const Picture kAll[] = {
    kIcons[0], kIcons[1], kIcons[2], kIcons[3], {"CursorCross", MakeCursorCross},
};

bool Shown(const Surface& s, int x, int y) {
  const uint32_t p = s.Pixel(x, y);
  return p != kSpriteKey && p != kInvalidPixel;
}

int Luma(uint32_t c) {
  return static_cast<int>(((c >> 16) & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + (c & 0xFF));
}

struct Hsv {
  double hue;  // degrees
  double sat;
  double val;
};

Hsv ToHsv(uint32_t c) {
  const double r = ((c >> 16) & 0xFF) / 255.0;
  const double g = ((c >> 8) & 0xFF) / 255.0;
  const double b = (c & 0xFF) / 255.0;
  const double hi = std::max({r, g, b});
  const double span = hi - std::min({r, g, b});
  double hue = 0;
  if (span > 0) {
    if (hi == r) hue = 60 * (g - b) / span;
    if (hi == g) hue = 120 + 60 * (b - r) / span;
    if (hi == b) hue = 240 + 60 * (r - g) / span;
  }
  return {hue < 0 ? hue + 360 : hue, hi > 0 ? span / hi : 0, hi};
}

bool IsGreen(uint32_t c) {
  const Hsv h = ToHsv(c);
  return h.hue > 90 && h.hue < 170 && h.sat > 0.3;
}
bool IsYellow(uint32_t c) {
  const Hsv h = ToHsv(c);
  return h.hue > 32 && h.hue < 64 && h.sat > 0.4 && h.val > 0.6;
}
bool IsPurple(uint32_t c) {
  const Hsv h = ToHsv(c);
  return h.hue > 250 && h.hue < 300 && h.sat > 0.3;
}
bool IsRed(uint32_t c) {
  const Hsv h = ToHsv(c);
  return (h.hue < 15 || h.hue > 340) && h.sat > 0.5;
}
bool IsWhite(uint32_t c) {
  return ToHsv(c).sat < 0.1 && Luma(c) > 2300;
}
bool IsBlack(uint32_t c) {
  return Luma(c) < 300;
}

// Shown pixels of the box [x0, x1] x [y0, y1] that pass the test.
template <class Test>
int Count(const Surface& s, Test test, int x0 = 0, int y0 = 0, int x1 = 31, int y1 = 31) {
  int n = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) n += Shown(s, x, y) && test(s.Pixel(x, y));
  }
  return n;
}

class DialogArtTest : public ::testing::TestWithParam<Picture> {};

TEST_P(DialogArtTest, Is32SquareOnAClearKeyAndTheSameEveryTime) {
  const Surface s = GetParam().make();
  ASSERT_EQ(s.Width(), 32);
  ASSERT_EQ(s.Height(), 32);
  EXPECT_EQ(s.Pixel(0, 0), kSpriteKey);
  for (int i = 0; i < 32; ++i) {
    EXPECT_FALSE(Shown(s, i, 0) || Shown(s, i, 31) || Shown(s, 0, i) || Shown(s, 31, i)) << "border at " << i;
  }
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (!Shown(s, x, y)) continue;
      const uint32_t p = s.Pixel(x, y);
      const int distance = std::abs(static_cast<int>(p >> 16) - 0xFF) + static_cast<int>((p >> 8) & 0xFF) +
                           std::abs(static_cast<int>(p & 0xFF) - 0xFF);
      EXPECT_GT(distance, 90) << "at " << x << "," << y << ": it would vanish under a tolerant key";
    }
  }
  EXPECT_EQ(s.Pixels(), GetParam().make().Pixels());
}

INSTANTIATE_TEST_SUITE_P(AllPictures, DialogArtTest, ::testing::ValuesIn(kAll),
                         [](const ::testing::TestParamInfo<Picture>& info) { return std::string(info.param.name); });

class DialogIconTest : public ::testing::TestWithParam<Picture> {};

TEST_P(DialogIconTest, IsOneFigureFillingMuchOfTheCell) {
  const Surface s = GetParam().make();
  std::vector<bool> seen(32 * 32);
  std::vector<std::pair<int, int>> todo;
  int shown = 0;
  int x0 = 32, y0 = 32, x1 = -1, y1 = -1;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (!Shown(s, x, y)) continue;
      if (shown++ == 0) todo.push_back({x, y});
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  }
  int reached = 0;
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (!Shown(s, x, y) || seen[y * 32 + x]) continue;
    seen[y * 32 + x] = true;
    ++reached;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  EXPECT_EQ(reached, shown) << "the figure falls apart";
  EXPECT_GT(shown, 32 * 32 * 3 / 10);
  EXPECT_LT(shown, 32 * 32 * 9 / 10);
  EXPECT_GE(x1 - x0, 21);
  EXPECT_GE(y1 - y0, 24);
}

// A dark rim all round, so the icon reads on a light dialog face as on a dark one.
TEST_P(DialogIconTest, IsRimmedInADarkShade) {
  const Surface s = GetParam().make();
  long sum = 0;
  int shown = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (!Shown(s, x, y)) continue;
      sum += Luma(s.Pixel(x, y));
      ++shown;
      if (!Shown(s, x - 1, y) || !Shown(s, x + 1, y) || !Shown(s, x, y - 1) || !Shown(s, x, y + 1)) {
        EXPECT_LT(Luma(s.Pixel(x, y)), 700) << "at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(sum / shown, 1000) << "the rim should be darker than the body";
}

INSTANTIATE_TEST_SUITE_P(Icons, DialogIconTest, ::testing::ValuesIn(kIcons),
                         [](const ::testing::TestParamInfo<Picture>& info) { return std::string(info.param.name); });

// Rows of the box that hold at least one glyph pixel, as a string of '#' and '.'.
template <class Test>
std::string Profile(const Surface& s, Test test, int x0, int y0, int x1, int y1) {
  std::string rows;
  for (int y = y0; y <= y1; ++y) rows += Count(s, test, x0, y, x1, y) > 0 ? '#' : '.';
  return rows;
}

// A stroke with a dot below it: two runs of glyph rows, at most three empty rows apart.
bool StrokeOverDot(const std::string& profile) {
  std::vector<std::pair<size_t, size_t>> runs;  // first row, one past the last
  for (size_t i = 0; i < profile.size(); ++i) {
    if (profile[i] != '#') continue;
    if (runs.empty() || runs.back().second != i) runs.push_back({i, i});
    runs.back().second = i + 1;
  }
  return runs.size() == 2 && runs[1].first - runs[0].second <= 3 && runs[0].second - runs[0].first > 6;
}

TEST(QuestionIcon, IsAWhiteQuestionMarkOnAGreenDisc) {
  const Surface s = MakeIconQuestion();
  const int shown = Count(s, [](uint32_t) { return true; });
  EXPECT_GT(Count(s, IsGreen), shown * 65 / 100);
  EXPECT_GT(Count(s, IsWhite, 9, 6, 22, 24), 45);
  EXPECT_TRUE(StrokeOverDot(Profile(s, IsWhite, 12, 6, 19, 26))) << Profile(s, IsWhite, 12, 6, 19, 26);
  // Round: as wide as it is tall, and its corners are off the disc.
  EXPECT_FALSE(Shown(s, 3, 3) || Shown(s, 28, 3) || Shown(s, 3, 28) || Shown(s, 28, 28));
  EXPECT_TRUE(Shown(s, 2, 16) && Shown(s, 29, 16) && Shown(s, 16, 2) && Shown(s, 16, 29));
  // Lit from the upper left.
  EXPECT_GT(Luma(s.Pixel(9, 12)), Luma(s.Pixel(24, 24)));
}

TEST(WarningIcon, IsABlackExclamationMarkOnAYellowTriangle) {
  const Surface s = MakeIconWarning();
  const int shown = Count(s, [](uint32_t) { return true; });
  EXPECT_GT(Count(s, IsYellow), shown * 6 / 10);
  EXPECT_GT(Count(s, IsBlack, 13, 9, 18, 27), 30);
  EXPECT_TRUE(StrokeOverDot(Profile(s, IsBlack, 13, 6, 18, 27))) << Profile(s, IsBlack, 13, 6, 18, 27);
  // Point up: narrow at the top, wide at the base, and left-right symmetric in shape.
  int topWidth = 0;
  int baseWidth = 0;
  for (int x = 0; x < 32; ++x) {
    topWidth += Shown(s, x, 5);
    baseWidth += Shown(s, x, 27);
    for (int y = 0; y < 32; ++y) EXPECT_EQ(Shown(s, x, y), Shown(s, 31 - x, y)) << x << "," << y;
  }
  EXPECT_LT(topWidth, 8);
  EXPECT_GT(baseWidth, 22);
}

TEST(HelpIcon, IsAYellowQuestionMarkOnAPurpleBook) {
  const Surface s = MakeIconHelp();
  const int shown = Count(s, [](uint32_t) { return true; });
  EXPECT_GT(Count(s, IsPurple), shown * 55 / 100);
  EXPECT_GT(Count(s, IsYellow, 9, 4, 24, 24), 40);
  EXPECT_TRUE(StrokeOverDot(Profile(s, IsYellow, 13, 4, 20, 25))) << Profile(s, IsYellow, 13, 4, 20, 25);
  // Pale page edges show below the cover.
  EXPECT_GT(Count(
                s, [](uint32_t c) { return ToHsv(c).sat < 0.2 && Luma(c) > 1800; }, 4, 26, 28, 29),
            15);
}

TEST(EmblemIcon, IsAGoldMedalHangingFromARedRibbon) {
  const Surface s = MakeIconEmblem();
  const auto gold = [](uint32_t c) { return IsYellow(c) || (ToHsv(c).hue > 30 && ToHsv(c).hue < 64 && Luma(c) > 900); };
  // The ribbon above, the medal below.
  EXPECT_GT(Count(s, IsRed, 0, 0, 31, 10), 2 * Count(s, gold, 0, 0, 31, 10));
  EXPECT_GT(Count(s, IsRed), 60);
  EXPECT_GT(Count(s, gold, 0, 13, 31, 31), 150);
  EXPECT_EQ(Count(s, IsRed, 0, 14, 31, 31), 0) << "the ribbon should end behind the medal";
  // The ribbon's two straps part at the top.
  EXPECT_FALSE(Shown(s, 16, 2));
  EXPECT_TRUE(Shown(s, 8, 2) && Shown(s, 23, 2));
}

TEST(CursorCross, LeavesTheCentreOpen) {
  constexpr int kHot = art::kCursorCrossHotspot;
  const Surface s = MakeCursorCross();
  for (int y = kHot - 2; y <= kHot + 2; ++y) {
    for (int x = kHot - 2; x <= kHot + 2; ++x) EXPECT_FALSE(Shown(s, x, y)) << x << "," << y;
  }
}

TEST(CursorCross, HasFourWhiteBarsInBlackShadow) {
  constexpr int kHot = art::kCursorCrossHotspot;
  const Surface s = MakeCursorCross();
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (!Shown(s, x, y)) continue;
      const uint32_t p = s.Pixel(x, y);
      ASSERT_TRUE(IsWhite(p) || IsBlack(p)) << "at " << x << "," << y;
      if (!IsWhite(p)) continue;
      // No white pixel touches the key, even corner to corner.
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) EXPECT_TRUE(Shown(s, x + dx, y + dy)) << "at " << x << "," << y;
      }
    }
  }
  for (int r = 5; r <= 10; ++r) {
    EXPECT_TRUE(IsWhite(s.Pixel(kHot + r, kHot)) && IsWhite(s.Pixel(kHot - r, kHot)) &&
                IsWhite(s.Pixel(kHot, kHot + r)) && IsWhite(s.Pixel(kHot, kHot - r)))
        << "bars broken at " << r;
  }
  // Only the four arms: nothing off the two axes beyond the shadow's width.
  EXPECT_EQ(Count(
                s, [](uint32_t) { return true; }, 0, 0, kHot - 2, kHot - 2),
            0);
}

// Turning it about the hotspot changes nothing, so the hotspot is where the bars point.
TEST(CursorCross, LooksTheSameTurnedAQuarterAboutTheHotspot) {
  constexpr int kHot = art::kCursorCrossHotspot;
  static_assert(kHot == 15 || kHot == 16, "the hotspot is the middle of the 32 x 32 picture");
  const Surface s = MakeCursorCross();
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const uint32_t turned = s.Pixel(2 * kHot - y, x);
      EXPECT_EQ(s.Pixel(x, y), turned == kInvalidPixel ? kSpriteKey : turned) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace kav::artgen
