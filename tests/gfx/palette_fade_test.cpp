#include "gfx/palette_fade.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

struct Levels : TraceSink {
  std::vector<int64_t> drawn;
  void Write(const TraceEvent& e) override { drawn.push_back(e.fields[0].second.As<int64_t>()); }
};

// Palette entry j of level i as stored: blue, green, red.
std::array<int, 3> Entry(const GfxState& g, int level, int j) {
  const std::vector<uint8_t>& r = g.FadeInfos[static_cast<size_t>(level)];
  const size_t at = 40 + 4 * static_cast<size_t>(j);
  return {r[at], r[at + 1], r[at + 2]};
}

TEST(PaletteFadeTest, PalettesScaleTheCubeWithTiesToEven) {
  GfxState g;
  FadePicture picture;
  Surface src(4, 2, 0x336699);
  BuildFadeTable(g, picture, src, 4, 2, 20);
  ASSERT_EQ(g.FadeInfos.size(), 21u);
  const std::vector<uint8_t>& header = g.FadeInfos[20];
  EXPECT_EQ(header[0], 40);
  EXPECT_EQ(header[4], 4);
  EXPECT_EQ(header[8], 2);
  EXPECT_EQ(header[12], 1);
  EXPECT_EQ(header[14], 8);
  EXPECT_EQ(header[16], 0) << "no compression";
  EXPECT_EQ(Entry(g, 10, 215), (std::array<int, 3>{128, 128, 128})) << "127.5 rounds to even";
  EXPECT_EQ(Entry(g, 1, 215), (std::array<int, 3>{13, 13, 13}));
  EXPECT_EQ(Entry(g, 1, 36), (std::array<int, 3>{3, 0, 0})) << "blue 51 at level 1 is 2.55";
  EXPECT_EQ(Entry(g, 20, 1), (std::array<int, 3>{0, 0, 51})) << "the red step is innermost";

  // A x i / N, multiplied first: 153 * 25 / 34 is exactly 112.5, which rounds to even.
  GfxState h;
  BuildFadeTable(h, picture, src, 4, 2, 34);
  EXPECT_EQ(Entry(h, 25, 3 * 36)[0], 112);
  for (int j = 0; j < 256; ++j) EXPECT_EQ(Entry(g, 0, j), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(Entry(g, 20, 216), (std::array<int, 3>{0, 0, 0})) << "past the cube stays black";
  EXPECT_TRUE(g.FadeBitmap && g.FadeBits && g.FadeDC);
}

TEST(PaletteFadeTest, CaptureTakesTheNearestCubeColour) {
  EXPECT_EQ(NearestCubeIndex(0x000000), 0);
  EXPECT_EQ(NearestCubeIndex(0xFFFFFF), 215);
  EXPECT_EQ(NearestCubeIndex(0x330000), 1) << "red 51";
  EXPECT_EQ(NearestCubeIndex(0x000033), 36) << "blue 51";
  EXPECT_EQ(NearestCubeIndex(0x1A0000), 1) << "26 is nearer 51 than 0";
  EXPECT_EQ(NearestCubeIndex(0x190000), 0);
}

TEST(PaletteFadeTest, LevelsDrawTheCapturedPictureAndOutOfRangeDrawsNothing) {
  GfxState g;
  FadePicture picture;
  Surface src(3, 3, 0xCC6633);
  src.SetPixel(1, 1, 0xFFFFFF);
  BuildFadeTable(g, picture, src, 3, 3, 20);
  Levels levels;
  Trace trace(&levels);

  Surface dest(3, 3, 0x123456);
  DrawFadeLevel(g, picture, dest, 3, 3, 21, trace);
  DrawFadeLevel(g, picture, dest, 3, 3, -1, trace);
  EXPECT_EQ(dest.Pixel(0, 0), 0x123456u);
  DrawFadeLevel(g, picture, dest, 3, 3, 20, trace);
  EXPECT_EQ(dest.Pixel(0, 0), 0xCC6633u) << "already a cube colour";
  EXPECT_EQ(dest.Pixel(1, 1), 0xFFFFFFu);
  DrawFadeLevel(g, picture, dest, 3, 3, 10, trace);
  EXPECT_EQ(dest.Pixel(1, 1), 0x808080u);
  DrawFadeLevel(g, picture, dest, 2, 3, 0, trace);
  EXPECT_EQ(dest.Pixel(1, 1), 0u);
  EXPECT_EQ(dest.Pixel(2, 0), 0x66331Au) << "only the width asked for is drawn; it keeps level 10 (25.5 to 26)";
  EXPECT_EQ(levels.drawn, (std::vector<int64_t>{21, -1, 20, 10, 0})) << "every call is reported";
}

}  // namespace
}  // namespace kav
