#include "gfx/region.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr uint32_t kInk = 0x202020;

TEST(RegionFromColourKey, AllKeyGivesEmptyRegion) {
  Surface s(5, 4, kKey);
  int32_t key = -1;
  EXPECT_TRUE(RegionFromColourKey(s, key).Empty());
  EXPECT_EQ(static_cast<uint32_t>(key), ToColorRef(kKey)) << "the chosen key is written back";
}

TEST(RegionFromColourKey, OnlyCornerKeyGivesEverythingElse) {
  Surface s(4, 3, kInk);
  s.SetPixel(0, 0, kKey);
  int32_t key = -1;
  const Region r = RegionFromColourKey(s, key);
  const std::vector<RegionRect> expected = {{1, 0, 4, 1}, {0, 1, 4, 2}, {0, 2, 4, 3}};
  EXPECT_EQ(r.Rects(), expected);
}

TEST(RegionFromColourKey, RunsSplitAtKeyPixels) {
  // key, other, other, key, other
  Surface s(5, 1, kInk);
  s.SetPixel(0, 0, kKey);
  s.SetPixel(3, 0, kKey);
  int32_t key = -1;
  const Region r = RegionFromColourKey(s, key);
  const std::vector<RegionRect> expected = {{1, 0, 3, 1}, {4, 0, 5, 1}};
  EXPECT_EQ(r.Rects(), expected);
  EXPECT_TRUE(r.Contains(2, 0));
  EXPECT_FALSE(r.Contains(3, 0));
}

TEST(RegionFromColourKey, GivenKeyIsUsedInsteadOfCorner) {
  Surface s(3, 1, kInk);
  s.SetPixel(1, 0, kKey);
  int32_t key = static_cast<int32_t>(ToColorRef(kKey));
  const Region r = RegionFromColourKey(s, key);
  const std::vector<RegionRect> expected = {{0, 0, 1, 1}, {2, 0, 3, 1}};
  EXPECT_EQ(r.Rects(), expected);
}

}  // namespace
}  // namespace kav
