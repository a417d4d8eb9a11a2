#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <sstream>
#include <string>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

constexpr int kHeliWidth = 48;
// The game reads the row just below the 23-pixel sprite as its bottom row.
constexpr int kHeliBottom = 23;

// Inclusive pixel rectangle.
struct Rect {
  int x0, y0, x1, y1;
  bool Contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

constexpr Rect HeliRect(int x, int y) {
  return {x, y, x + kHeliWidth - 1, y + kHeliBottom};
}

constexpr std::array<Rect, 6> kSolidRegions{{
    {60, 358, 200, 529},   // headquarters
    {300, 281, 430, 529},  // centre building
    {560, 114, 799, 340},  // tower
    {560, 341, 600, 529},  // tower pillar
    {715, 377, 760, 382},  // ledge in the gate
    {0, 530, 799, 599},    // ground and water
}};
constexpr std::array<Rect, 3> kPads{{
    {55, 352, 205, 357},
    {295, 275, 435, 280},
    {560, 108, 799, 113},
}};
constexpr Rect kGate{601, 341, 799, 529};
constexpr Rect kLedge{715, 377, 760, 382};

// The collision keys as the game samples them at every run start.
struct Keys {
  uint32_t solidA, solidB, pad;
  explicit Keys(const Surface& s) : solidA(s.Pixel(400, 300)), solidB(s.Pixel(600, 200)), pad(s.Pixel(600, 110)) {}
  bool Solid(uint32_t c) const { return c == solidA || c == solidB; }
};

std::string Where(int x, int y) {
  std::ostringstream out;
  out << "(" << x << ", " << y << ")";
  return out.str();
}

::testing::AssertionResult NothingSolidIn(const Surface& s, const Rect& r) {
  const Keys keys(s);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) {
      if (keys.Solid(s.Pixel(x, y))) return ::testing::AssertionFailure() << "solid pixel at " << Where(x, y);
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult HeliTouchesNothingSolid(const Surface& s, int x, int y) {
  auto result = NothingSolidIn(s, HeliRect(x, y));
  if (!result) result << " under a helicopter at " << Where(x, y);
  return result;
}

// Open: neither solid nor pad.
::testing::AssertionResult IsOpen(const Surface& s, const Rect& r) {
  const Keys keys(s);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) {
      const uint32_t c = s.Pixel(x, y);
      if (keys.Solid(c) || c == keys.pad) return ::testing::AssertionFailure() << "closed pixel at " << Where(x, y);
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult AllSolid(const Surface& s, const Rect& r) {
  const Keys keys(s);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) {
      if (!keys.Solid(s.Pixel(x, y))) return ::testing::AssertionFailure() << "not solid at " << Where(x, y);
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult AllPad(const Surface& s, const Rect& r) {
  const Keys keys(s);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) {
      if (s.Pixel(x, y) != keys.pad) return ::testing::AssertionFailure() << "not pad at " << Where(x, y);
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult NoPadIn(const Surface& s, const Rect& r) {
  const Keys keys(s);
  for (int y = r.y0; y <= r.y1; ++y) {
    for (int x = r.x0; x <= r.x1; ++x) {
      if (s.Pixel(x, y) == keys.pad) return ::testing::AssertionFailure() << "pad pixel at " << Where(x, y);
    }
  }
  return ::testing::AssertionSuccess();
}

// Longest horizontal or vertical run of non-solid pixels inside r; where says where it ends.
int LongestOpenRun(const Surface& s, const Rect& r, std::string* where) {
  const Keys keys(s);
  int longest = 0;
  auto scan = [&](int x, int y, int& run) {
    run = keys.Solid(s.Pixel(x, y)) ? 0 : run + 1;
    if (run > longest) {
      longest = run;
      *where = Where(x, y);
    }
  };
  for (int y = r.y0; y <= r.y1; ++y) {
    int run = 0;
    for (int x = r.x0; x <= r.x1; ++x) scan(x, y, run);
  }
  for (int x = r.x0; x <= r.x1; ++x) {
    int run = 0;
    for (int y = r.y0; y <= r.y1; ++y) scan(x, y, run);
  }
  return longest;
}

const Surface& Backdrop() {
  static const Surface backdrop = MakeBackdrop();
  return backdrop;
}

TEST(BackdropHelpers, CatchWhatTheyAreMeantToCatch) {
  Surface s(800, 600, 0x102030);
  s.SetPixel(400, 300, 0x111111);
  s.SetPixel(600, 200, 0x222222);
  s.SetPixel(600, 110, 0x333333);
  s.SetPixel(97, 73, 0x222222);  // the bottom-right pixel of a helicopter at (50, 50)
  EXPECT_FALSE(HeliTouchesNothingSolid(s, 50, 50));
  EXPECT_TRUE(HeliTouchesNothingSolid(s, 50, 49));
  s.SetPixel(10, 10, 0x333333);
  EXPECT_FALSE(IsOpen(s, {10, 10, 10, 10}));
  EXPECT_TRUE(NothingSolidIn(s, {10, 10, 10, 10}));

  s.FillRect(0, 0, 20, 20, 0x111111);
  s.FillRect(5, 5, 6, 3, 0xFFFFFF);
  std::string where;
  EXPECT_EQ(LongestOpenRun(s, {0, 0, 19, 19}, &where), 6);
  s.FillRect(5, 9, 1, 7, 0xFFFFFF);
  EXPECT_EQ(LongestOpenRun(s, {0, 0, 19, 19}, &where), 7);
  EXPECT_EQ(where, "(5, 15)");
}

TEST(Backdrop, IsAFullSceneAndTheSameEveryTime) {
  const Surface& s = Backdrop();
  ASSERT_EQ(s.Width(), 800);
  ASSERT_EQ(s.Height(), 600);
  EXPECT_EQ(MakeBackdrop().Pixels(), s.Pixels());
}

TEST(BackdropColours, KeysSitWhereTheGameSamplesThem) {
  const Keys keys(Backdrop());
  EXPECT_EQ(keys.solidA, pal::kSolidA);
  EXPECT_EQ(keys.solidB, pal::kSolidB);
  EXPECT_EQ(keys.pad, pal::kPad);
  EXPECT_NE(keys.pad, keys.solidA);
  EXPECT_NE(keys.pad, keys.solidB);
}

TEST(BackdropColours, KeyColoursAppearOnlyInTheirOwnAreas) {
  const Surface& s = Backdrop();
  const Keys keys(s);
  int strays = 0;
  std::string first;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const uint32_t c = s.Pixel(x, y);
      const bool inSolid =
          std::any_of(kSolidRegions.begin(), kSolidRegions.end(), [&](const Rect& r) { return r.Contains(x, y); });
      const bool inPad = std::any_of(kPads.begin(), kPads.end(), [&](const Rect& r) { return r.Contains(x, y); });
      const bool stray = (keys.Solid(c) && !inSolid) || (c == keys.pad && !inPad);
      if (stray && strays++ == 0) first = Where(x, y);
    }
  }
  EXPECT_EQ(strays, 0) << "first stray key colour at " << first;
}

TEST(BackdropScene, P1RunStartsInOpenSky) {
  EXPECT_TRUE(IsOpen(Backdrop(), HeliRect(50, 50)));
}

TEST(BackdropScene, P2CentreBuildingLandingZone) {
  const Surface& s = Backdrop();
  for (int x = 279; x <= 341; ++x) {
    for (int bottom = 272; bottom <= 275; ++bottom) {
      ASSERT_TRUE(HeliTouchesNothingSolid(s, x, bottom - kHeliBottom));
    }
  }
  EXPECT_TRUE(AllPad(s, {303, 275, 365, 275}));
  EXPECT_TRUE(NoPadIn(s, {279, 249, 388, 274}));
}

TEST(BackdropScene, P3HeadquartersLandingZone) {
  const Surface& s = Backdrop();
  for (int x = 92; x <= 139; ++x) {
    for (int bottom = 349; bottom <= 352; ++bottom) {
      ASSERT_TRUE(HeliTouchesNothingSolid(s, x, bottom - kHeliBottom));
    }
  }
  EXPECT_TRUE(AllPad(s, {116, 352, 163, 352}));
  EXPECT_TRUE(NoPadIn(s, {92, 326, 186, 351}));
}

TEST(BackdropScene, P4TowerRoofHostageAndResupply) {
  const Surface& s = Backdrop();
  EXPECT_TRUE(AllPad(s, {560, 110, 799, 110}));
  EXPECT_TRUE(IsOpen(s, {600, 99, 607, 106}));   // the hostage
  EXPECT_TRUE(AllPad(s, {600, 108, 607, 108}));  // under its feet
  EXPECT_TRUE(AllPad(s, {740, 108, 755, 108}));  // under the gunner
  EXPECT_TRUE(IsOpen(s, {740, 95, 755, 107}));
  for (int x = 577; x <= 585; ++x) {
    for (int bottom = 83; bottom <= 86; ++bottom) {
      ASSERT_TRUE(IsOpen(s, HeliRect(x, bottom - kHeliBottom))) << "hovering at X " << x;
    }
  }
  // Resting on the resupply part of the roof.
  for (int x = 641; x + kHeliWidth - 1 <= 799; ++x) {
    ASSERT_TRUE(HeliTouchesNothingSolid(s, x, 108 - kHeliBottom));
  }
}

TEST(BackdropScene, P5SnipingGapAndTowerFace) {
  const Surface& s = Backdrop();
  // The union of every helicopter rectangle with X 431..511 and Y 0..506.
  EXPECT_TRUE(NothingSolidIn(s, {431, 0, 511 + kHeliWidth - 1, 506 + kHeliBottom}));
  EXPECT_TRUE(HeliTouchesNothingSolid(s, 511, 506));
  EXPECT_TRUE(AllSolid(s, {560, 114, 560, 529}));
  for (const auto& [x, y] : {std::array{590, 330}, std::array{590, 290}, std::array{590, 362}}) {
    EXPECT_TRUE(AllSolid(s, {x, y, x + 10, y + 11})) << "culprit window at " << Where(x, y);
  }
}

TEST(BackdropScene, P6HarbourGateIsOpenAndWalledIn) {
  const Surface& s = Backdrop();
  const Keys keys(s);
  for (int y = kGate.y0; y <= kGate.y1; ++y) {
    for (int x = kGate.x0; x <= kGate.x1; ++x) {
      if (kLedge.Contains(x, y)) continue;
      const uint32_t c = s.Pixel(x, y);
      ASSERT_FALSE(keys.Solid(c) || c == keys.pad) << "closed pixel in the gate at " << Where(x, y);
    }
  }
  EXPECT_TRUE(AllSolid(s, {560, 340, 799, 340}));  // tower above
  EXPECT_TRUE(AllSolid(s, {600, 341, 600, 529}));  // pillar at its left
  EXPECT_TRUE(AllSolid(s, {601, 530, 799, 530}));  // water below
  EXPECT_TRUE(AllSolid(s, kLedge));
  EXPECT_TRUE(IsOpen(s, {730, 365, 740, 376}));  // the culprit on the ledge
  for (int x = 601; x <= 666; ++x) {
    for (int y = 350; y <= 365; ++y) ASSERT_TRUE(HeliTouchesNothingSolid(s, x, y));
  }
}

TEST(BackdropScene, P7BandIsSolidAndDocksAreClear) {
  const Surface& s = Backdrop();
  EXPECT_TRUE(AllSolid(s, {0, 530, 799, 530}));
  // Left dock: any height down to a bottom row of 527.
  EXPECT_TRUE(NothingSolidIn(s, {206, 0, 251 + kHeliWidth - 1, 527}));
  // Right dock, inside the gate below the ledge.
  EXPECT_TRUE(NothingSolidIn(s, {635, 383, 690 + kHeliWidth - 1, 527}));
  EXPECT_TRUE(HeliTouchesNothingSolid(s, 210, 525 - kHeliBottom));  // seated on the rescue boat
  EXPECT_TRUE(HeliTouchesNothingSolid(s, 651, 525 - kHeliBottom));
}

TEST(BackdropScene, P8BuildingsKeepClearOfTheLeftDock) {
  const Surface& s = Backdrop();
  EXPECT_TRUE(NothingSolidIn(s, {201, 281, 299, 529}));
  EXPECT_TRUE(AllSolid(s, {300, 281, 300, 529}));
  EXPECT_TRUE(AllSolid(s, {200, 358, 200, 529}));
}

TEST(BackdropScene, P9MissileApproachLeftOfTheTower) {
  const Surface& s = Backdrop();
  EXPECT_TRUE(NothingSolidIn(s, {0, 79, 559, 113}));
  for (int left = 720; left >= 530; --left) {
    ASSERT_TRUE(NothingSolidIn(s, {left, 90, left + 21, 98})) << "missile at Left " << left;
  }
}

TEST(BackdropScene, P10DetailNeverOpensAGapInAWall) {
  const Surface& s = Backdrop();
  for (const Rect& r : kSolidRegions) {
    std::string where;
    EXPECT_LE(LongestOpenRun(s, r, &where), 6) << "run ending at " << where;
  }
}

TEST(BackdropScene, P11PadsArePlainOnTop) {
  for (const Rect& pad : kPads) EXPECT_TRUE(AllPad(Backdrop(), {pad.x0, pad.y0, pad.x1, pad.y0 + 4}));
}

TEST(BackdropScene, P12DigitStripsArePlainAndDark) {
  const Surface& s = Backdrop();
  for (const Rect& strip : {Rect{300, 560, 624, 594}, Rect{3, 560, 102, 594}}) {
    const uint32_t c = s.Pixel(strip.x0, strip.y0);
    for (int y = strip.y0; y <= strip.y1; ++y) {
      for (int x = strip.x0; x <= strip.x1; ++x) ASSERT_EQ(s.Pixel(x, y), c) << "at " << Where(x, y);
    }
    EXPECT_TRUE(Keys(s).Solid(c));
    const double luma = 0.299 * ((c >> 16) & 0xFF) + 0.587 * ((c >> 8) & 0xFF) + 0.114 * (c & 0xFF);
    EXPECT_LT(luma, 80.0) << "strip at " << Where(strip.x0, strip.y0) << " too bright for the digits";
  }
}

}  // namespace
}  // namespace kav::artgen
