#include <gtest/gtest.h>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

TEST(AppIconTest, EveryThemeSizeIsASquareWithoutTheSpriteKey) {
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const Surface icon = MakeAppIcon(size);
    ASSERT_EQ(icon.Width(), size);
    ASSERT_EQ(icon.Height(), size);
    for (const uint32_t p : icon.Pixels()) ASSERT_NE(p, pal::kSpriteKey) << size << ": the key colour shows";
  }
}

TEST(AppIconTest, WholeMultiplesKeepThePixelBlocks) {
  const Surface base = MakeAppIcon(64);
  const Surface big = MakeAppIcon(256);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) ASSERT_EQ(big.Pixel(x, y), base.Pixel(x / 4, y / 4)) << x << "," << y;
  }
}

TEST(AppIconTest, SmallSizesAverageRatherThanSample) {
  const Surface base = MakeAppIcon(64);
  const Surface small = MakeAppIcon(32);
  // Each pixel is the mean of its 2 x 2 block, channel by channel, rounded.
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      for (int shift : {0, 8, 16}) {
        int sum = 0;
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx) sum += (base.Pixel(2 * x + dx, 2 * y + dy) >> shift) & 0xFF;
        ASSERT_NEAR(static_cast<int>((small.Pixel(x, y) >> shift) & 0xFF), sum / 4.0, 0.51);
      }
    }
  }
  // The helicopter stands out from the sky: the icon is not one flat colour.
  const Surface tiny = MakeAppIcon(16);
  EXPECT_NE(tiny.Pixel(8, 8), tiny.Pixel(8, 2));
  EXPECT_THROW(MakeAppIcon(0), std::invalid_argument);
}

}  // namespace
}  // namespace kav::artgen
