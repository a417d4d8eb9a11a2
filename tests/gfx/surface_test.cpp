#include "gfx/surface.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(RasterOps, EachOperationCombinesSourceAndDestination) {
  const uint32_t src = 0x0F0F55;
  const uint32_t dst = 0x3300F0;
  struct Case {
    Rop rop;
    uint32_t expected;
  } cases[] = {
      {Rop::Copy, src},
      {Rop::And, src & dst},
      {Rop::Or, src | dst},
      {Rop::MergePaint, (~src | dst) & 0xFFFFFF},
  };
  for (const Case& c : cases) {
    Surface d(4, 4, dst);
    const Surface s(4, 4, src);
    Blit(d, 1, 1, 2, 2, s, 0, 0, c.rop);
    EXPECT_EQ(d.Pixel(1, 1), c.expected) << static_cast<int>(c.rop);
    EXPECT_EQ(d.Pixel(2, 2), c.expected) << static_cast<int>(c.rop);
    EXPECT_EQ(d.Pixel(0, 0), dst) << "outside the rectangle stays";
    EXPECT_EQ(d.Pixel(3, 3), dst);
  }
}

TEST(RasterOps, MaskedCopyShowsFigureAndKeepsBackground) {
  // The mask is white outside the figure; the sheet is black there.
  Surface mask(2, 1);
  mask.SetPixel(0, 0, kWhite);
  mask.SetPixel(1, 0, kBlack);
  Surface sheet(2, 1);
  sheet.SetPixel(0, 0, kBlack);
  sheet.SetPixel(1, 0, 0x12AB34);
  Surface target(2, 1, 0x445566);
  Blit(target, 0, 0, 2, 1, mask, 0, 0, Rop::And);
  Blit(target, 0, 0, 2, 1, sheet, 0, 0, Rop::Or);
  EXPECT_EQ(target.Pixel(0, 0), 0x445566u);
  EXPECT_EQ(target.Pixel(1, 0), 0x12AB34u);
}

TEST(RasterOps, ClipsAgainstBothSurfaces) {
  Surface src(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.SetPixel(x, y, static_cast<uint32_t>(y * 3 + x + 1));
  Surface dst(3, 3, 0xABCDEF);
  Blit(dst, -1, -1, 3, 3, src, 0, 0);  // only src (1..2, 1..2) lands at (0..1, 0..1)
  EXPECT_EQ(dst.Pixel(0, 0), 5u);
  EXPECT_EQ(dst.Pixel(1, 1), 9u);
  EXPECT_EQ(dst.Pixel(2, 2), 0xABCDEFu);

  Surface dst2(3, 3, 0xABCDEF);
  Blit(dst2, 2, 2, 10, 10, src, -1, 0);  // source column -1 does not exist
  EXPECT_EQ(dst2.Pixel(2, 2), 0xABCDEFu);
  Blit(dst2, 0, 0, 5, 5, src, 2, 2);  // source runs out after one pixel
  EXPECT_EQ(dst2.Pixel(0, 0), 9u);
  EXPECT_EQ(dst2.Pixel(1, 0), 0xABCDEFu);
}

TEST(RasterOps, OverlappingCopyWithinOneSurface) {
  Surface s(4, 1);
  for (int x = 0; x < 4; ++x) s.SetPixel(x, 0, static_cast<uint32_t>(x + 1));
  Blit(s, 1, 0, 3, 1, s, 0, 0);
  EXPECT_EQ(s.Pixel(1, 0), 1u);
  EXPECT_EQ(s.Pixel(2, 0), 2u);
  EXPECT_EQ(s.Pixel(3, 0), 3u);
}

TEST(Surface, PixelReadsAndResize) {
  Surface s(2, 2, 0x010203);
  EXPECT_EQ(s.Pixel(-1, 0), kInvalidPixel);
  EXPECT_EQ(s.Pixel(2, 0), kInvalidPixel);
  s.SetPixel(1, 1, 0xFF123456);  // the top byte never reaches a pixel
  EXPECT_EQ(s.Pixel(1, 1), 0x123456u);
  s.Resize(3, 1, 0xFFFFFF);
  EXPECT_EQ(s.Width(), 3);
  EXPECT_EQ(s.Pixel(0, 0), 0x010203u);
  EXPECT_EQ(s.Pixel(2, 0), 0xFFFFFFu);
  EXPECT_EQ(s.Pixel(1, 1), kInvalidPixel);
  const uint64_t before = s.Version();
  s.Fill(0);
  EXPECT_NE(s.Version(), before);
}

TEST(Surface, ColorRefSwapsRedAndBlue) {
  EXPECT_EQ(ToColorRef(0x112233), 0x332211u);
  EXPECT_EQ(ToColorRef(kInvalidPixel), kInvalidPixel);
}

}  // namespace
}  // namespace kav
