#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

using pal::kSpriteKey;

struct SpriteCase {
  const char* name;
  Surface (*make)();
  int width;
  int height;
};

const SpriteCase kSprites[] = {
    {"Heli", MakeHeli, 48, 23},
    {"BurstSmall", MakeBurstSmall, 48, 32},
    {"BurstLarge", MakeBurstLarge, 48, 32},
    {"Flame", MakeFlame, 24, 10},
    {"Culprit", MakeCulprit, 11, 12},
    {"Hostage", MakeHostage, 8, 8},
    {"Ladder", MakeLadder, 8, 16},
    {"Boat", MakeBoat, 60, 60},
    {"Ring", MakeRing, 64, 64},
    {"EnemyMissile", MakeEnemyMissile, 22, 8},
    {"Gunner", MakeGunner, 16, 16},
    {"MenuButton", MakeMenuButton, 32, 32},
};

int ColourDistance(uint32_t a, uint32_t b) {
  int sum = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
  }
  return sum;
}

bool Shown(const Surface& s, int x, int y) {
  const uint32_t p = s.Pixel(x, y);
  return p != kSpriteKey && p != kInvalidPixel;
}

int Luma(uint32_t c) {
  return static_cast<int>(((c >> 16) & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + (c & 0xFF));
}

class SpriteTest : public ::testing::TestWithParam<SpriteCase> {};

TEST_P(SpriteTest, HasItsSizeAndTheKeyAtTheCorner) {
  const Surface s = GetParam().make();
  EXPECT_EQ(s.Width(), GetParam().width);
  EXPECT_EQ(s.Height(), GetParam().height);
  EXPECT_EQ(s.Pixel(0, 0), kSpriteKey);
}

TEST_P(SpriteTest, ShowsAFigureWithNoColourNearTheKey) {
  const Surface s = GetParam().make();
  int shown = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (!Shown(s, x, y)) continue;
      ++shown;
      // A shown pixel that is almost the key would vanish under a tolerant colour key.
      EXPECT_GT(ColourDistance(s.Pixel(x, y), kSpriteKey), 90) << "at " << x << "," << y;
    }
  }
  EXPECT_GT(shown, 0);
}

TEST_P(SpriteTest, IsTheSameOnEveryCall) {
  EXPECT_EQ(GetParam().make().Pixels(), GetParam().make().Pixels());
}

INSTANTIATE_TEST_SUITE_P(AllSprites, SpriteTest, ::testing::ValuesIn(kSprites),
                         [](const ::testing::TestParamInfo<SpriteCase>& info) { return std::string(info.param.name); });

// Every figure is rimmed in the dark outline colour, so it reads over any part of the scene.
TEST(SpriteOutline, EveryEdgePixelIsInk) {
  for (const SpriteCase& c : kSprites) {
    const Surface s = c.make();
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) {
        if (!Shown(s, x, y)) continue;
        // The boat's deck is its flat top surface, deliberately without a rim.
        if (std::string(c.name) == "Boat" && y == 22) continue;
        const bool edge = !Shown(s, x - 1, y) || !Shown(s, x + 1, y) || !Shown(s, x, y - 1) || !Shown(s, x, y + 1);
        if (edge) {
          EXPECT_EQ(s.Pixel(x, y), pal::kInk) << c.name << " at " << x << "," << y;
        }
      }
    }
  }
}

// The pictures the game shows unshaped show every pixel: a key-coloured one is a magenta spot.
// (The parts sheet keys its digits through its mask and is never shown as it is.)
TEST(UnshapedPictures, HoldNoKeyColour) {
  const std::pair<const char*, Surface (*)()> unshaped[] = {
      {"Finale", MakeFinale},
      {"Total", MakeTotal},
      {"MessageFrame", MakeMessageFrame},
      {"Backdrop", MakeBackdrop},
  };
  for (const auto& [name, make] : unshaped) {
    const Surface s = make();
    const auto& pixels = s.Pixels();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kSpriteKey), 0) << name;
  }
}

TEST(Heli, FillsItsWholeBoxSoItsContactPointsMatchTheArt) {
  const Surface s = MakeHeli();
  int top = 0;
  int bottom = 0;
  for (int x = 0; x < s.Width(); ++x) {
    top += Shown(s, x, 0);
    bottom += Shown(s, x, s.Height() - 1);
  }
  EXPECT_GT(top, 30) << "the rotor should span the top row";
  EXPECT_GT(bottom, 20) << "the skids should stand on the bottom row";
  int right = 0;
  for (int y = 0; y < s.Height(); ++y) right += Shown(s, s.Width() - 1, y);
  EXPECT_GT(right, 0) << "the nose should reach the right edge";
}

TEST(Boat, DeckRowIsSolidAcrossALandingWidthWithClearSpaceAbove) {
  const Surface s = MakeBoat();
  constexpr int kDeck = 22;
  int run = 0;
  int longest = 0;
  int runStart = 0;
  int bestStart = 0;
  for (int x = 0; x < s.Width(); ++x) {
    run = Shown(s, x, kDeck) ? run + 1 : 0;
    if (run == 1) runStart = x;
    if (run > longest) {
      longest = run;
      bestStart = runStart;
    }
  }
  ASSERT_GE(longest, 48);
  // A 48-pixel helicopter set on that deck has nothing of the boat in its way.
  int aboveDeck = 0;
  for (int y = 0; y < kDeck; ++y) {
    for (int x = 0; x < s.Width(); ++x) aboveDeck += Shown(s, x, y);
  }
  EXPECT_LT(aboveDeck, s.Width() * kDeck / 10);
  int freeRun = 0;
  int bestFree = 0;
  for (int x = bestStart; x < bestStart + longest; ++x) {
    bool clear = true;
    for (int y = 0; y < kDeck; ++y) clear = clear && !Shown(s, x, y);
    freeRun = clear ? freeRun + 1 : 0;
    bestFree = std::max(bestFree, freeRun);
  }
  EXPECT_GE(bestFree, 48);
}

TEST(Boat, HullReachesBelowTheWaterline) {
  const Surface s = MakeBoat();
  // Afloat at Top 504, the water starts at sprite row 26; the hull goes on under it.
  for (int y = 23; y <= 38; ++y) {
    EXPECT_TRUE(Shown(s, 30, y)) << "row " << y;
  }
  int lowest = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (Shown(s, x, y)) lowest = y;
    }
  }
  EXPECT_LT(lowest, s.Height() - 1) << "the keel should not be cut off by the sprite edge";
}

TEST(Ring, IsAHollowRedBand) {
  const Surface s = MakeRing();
  const double c = 31.5;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (std::hypot(x - c, y - c) < 20.0) {
        EXPECT_FALSE(Shown(s, x, y)) << "inside at " << x << "," << y;
      }
    }
  }
  int red = 0;
  for (int i = 0; i < 64; ++i) {
    const double a = i * 6.2831853 / 64;
    const int x = static_cast<int>(std::lround(c + 27.5 * std::cos(a)));
    const int y = static_cast<int>(std::lround(c + 27.5 * std::sin(a)));
    ASSERT_TRUE(Shown(s, x, y)) << "band broken at angle " << i;
    const uint32_t p = s.Pixel(x, y);
    const int r = (p >> 16) & 0xFF;
    const int g = (p >> 8) & 0xFF;
    const int b = p & 0xFF;
    red += (r > 2 * g && r > 2 * b);
  }
  EXPECT_GT(red, 48);
}

TEST(Finale, IsABrightSparkOnTheKey) {
  const Surface s = MakeFinale();
  EXPECT_EQ(s.Pixel(1, 0), s.Pixel(0, 1));
  EXPECT_EQ(s.Pixel(1, 0), s.Pixel(1, 1));
  EXPECT_GT(Luma(s.Pixel(1, 1)), 2000);
}

TEST(Projectiles, FlyTheirWay) {
  // The hot end leads the flame bullet (right) and trails the missile (left-flying).
  const auto brightestColumn = [](const Surface& s) {
    int best = -1;
    int bestX = 0;
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) {
        if (Shown(s, x, y) && Luma(s.Pixel(x, y)) > best) {
          best = Luma(s.Pixel(x, y));
          bestX = x;
        }
      }
    }
    return bestX;
  };
  const Surface flame = MakeFlame();
  EXPECT_GT(brightestColumn(flame), flame.Width() / 2);
  const Surface missile = MakeEnemyMissile();
  int noseRow = -1;
  for (int y = 0; y < missile.Height() && noseRow < 0; ++y) {
    if (Shown(missile, 1, y) || Shown(missile, 0, y)) noseRow = y;
  }
  EXPECT_GE(noseRow, 0) << "the missile's nose should reach the left edge";
}

TEST(Bursts, TheSecondFrameIsBiggerThanTheFirst) {
  const auto area = [](const Surface& s) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) n += Shown(s, x, y);
    }
    return n;
  };
  EXPECT_GT(area(MakeBurstLarge()), area(MakeBurstSmall()) * 5 / 4);
}

TEST(MenuButton, HasRoundedCornersAndLettering) {
  const Surface s = MakeMenuButton();
  EXPECT_FALSE(Shown(s, 31, 0));
  EXPECT_FALSE(Shown(s, 0, 31));
  EXPECT_FALSE(Shown(s, 31, 31));
  EXPECT_TRUE(Shown(s, 16, 16));
  // The word sits in the lower half in a colour of its own, brighter than the face.
  int bright = 0;
  for (int y = 17; y < 27; ++y) {
    for (int x = 4; x < 28; ++x) bright += s.Pixel(x, y) == pal::kYellow;
  }
  EXPECT_GT(bright, 40);
}

}  // namespace
}  // namespace kav::artgen
