#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "gfx/text_blit.h"
#include "platform/ttf_fonts.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

// The ink's bounding box in an image; empty when there is none.
struct Ink {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
  bool Empty() const { return right < left; }
};

Ink InkOf(const TextImage& image, int fromX = 0, int toX = -1) {
  if (toX < 0) toX = image.width;
  Ink ink{toX, image.height, -1, -1};
  for (int y = 0; y < image.height; ++y) {
    for (int x = fromX; x < toX; ++x) {
      if (image.At(x, y) == 0) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

class FontsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    fonts_ = OpenFonts(error).release();
    error_ = new std::string(error);
  }
  static void TearDownTestSuite() {
    delete fonts_;
    delete error_;
    fonts_ = nullptr;
    error_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(fonts_, nullptr) << *error_; }

  static Fonts* fonts_;
  static std::string* error_;
};
Fonts* FontsTest::fonts_ = nullptr;
std::string* FontsTest::error_ = nullptr;

TEST_F(FontsTest, BothFacesAreJapaneseAndDistinct) {
  EXPECT_TRUE(error_->empty());
  const auto mincho = FindJapaneseFont(FontFace::Mincho);
  const auto gothic = FindJapaneseFont(FontFace::Gothic);
  ASSERT_TRUE(mincho.has_value());
  ASSERT_TRUE(gothic.has_value());
  EXPECT_TRUE(std::filesystem::is_regular_file(mincho->path)) << mincho->path;
  EXPECT_TRUE(std::filesystem::is_regular_file(gothic->path)) << gothic->path;
  EXPECT_FALSE(mincho->path == gothic->path && mincho->index == gothic->index)
      << "the message and the controls asked for different faces but got " << mincho->family;
}

TEST_F(FontsTest, JapaneseTextRendersWithInkOneLineHigh) {
  for (const auto& [face, px] : {std::pair{FontFace::Mincho, 12}, std::pair{FontFace::Gothic, 14}}) {
    SCOPED_TRACE(px);
    const std::string text = "君の名前を英字";
    const TextImage image = fonts_->Render(face, px, text);
    EXPECT_EQ(image.width, fonts_->Measure(face, px, text));
    EXPECT_EQ(image.height, fonts_->LineHeight(face, px));
    EXPECT_GE(image.height, px);
    EXPECT_LE(image.height, px * 3 / 2);
    ASSERT_EQ(image.coverage.size(), static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    // Every character cell has ink of its own.
    const std::vector<int> stops = fonts_->CaretStops(face, px, text);
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
      EXPECT_FALSE(InkOf(image, stops[i], stops[i + 1]).Empty()) << "character " << i;
    }
  }
}

TEST_F(FontsTest, GlyphsAreDrawnInOneBitForCrispness) {
  const TextImage image = fonts_->Render(FontFace::Gothic, 14, "ORVEL はい(Y)");
  size_t full = 0;
  for (const uint8_t a : image.coverage) {
    ASSERT_TRUE(a == 0 || a == 255) << int{a};
    full += a == 255;
  }
  EXPECT_GT(full, 50u);
}

TEST_F(FontsTest, FullWidthIsTwiceHalfWidthInTheMessageFace) {
  const int ascii = fonts_->Measure(FontFace::Mincho, 12, "A");
  const int kana = fonts_->Measure(FontFace::Mincho, 12, "ｱ");
  const int full = fonts_->Measure(FontFace::Mincho, 12, "漢");
  EXPECT_NEAR(full, 2 * ascii, 1);
  EXPECT_NEAR(full, 2 * kana, 1);
  EXPECT_NEAR(full, 12, 1);
  EXPECT_EQ(fonts_->Measure(FontFace::Mincho, 12, "あア漢８"), 4 * full);
}

TEST_F(FontsTest, MessageFaceIsFixedPitchAndControlFaceProportional) {
  // The message's layout counts single-byte characters at one width.
  EXPECT_EQ(fonts_->Measure(FontFace::Mincho, 12, "iiii"), fonts_->Measure(FontFace::Mincho, 12, "WWWW"));
  EXPECT_LT(fonts_->Measure(FontFace::Gothic, 14, "iiii"), fonts_->Measure(FontFace::Gothic, 14, "WWWW"));
}

TEST_F(FontsTest, EmptyTextAndBadSizesHaveNoWidth) {
  EXPECT_EQ(fonts_->Measure(FontFace::Gothic, 14, ""), 0);
  EXPECT_EQ(fonts_->CaretStops(FontFace::Gothic, 14, ""), std::vector<int>{0});
  const TextImage empty = fonts_->Render(FontFace::Gothic, 14, "");
  EXPECT_EQ(empty.width, 0);
  EXPECT_TRUE(empty.coverage.empty());

  for (const int px : {0, -3, 100000}) {
    EXPECT_EQ(fonts_->Measure(FontFace::Mincho, px, "漢"), 0);
    EXPECT_EQ(fonts_->CaretStops(FontFace::Mincho, px, "漢"), (std::vector<int>{0, 0}));
    const TextImage image = fonts_->Render(FontFace::Mincho, px, "漢");
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.coverage.empty());
  }
}

TEST_F(FontsTest, CaretStopsAgreeWithMeasureOfEveryPrefix) {
  // Mixed widths, a space and a malformed byte, which counts as one code point.
  const std::string text = "Aｱ あB漢 \xFFz";
  const std::vector<std::string> prefixes = {"",       "A",        "Aｱ",        "Aｱ ",           "Aｱ あ",
                                             "Aｱ あB", "Aｱ あB漢", "Aｱ あB漢 ", "Aｱ あB漢 \xFF", text};
  for (const FontFace face : {FontFace::Mincho, FontFace::Gothic}) {
    const std::vector<int> stops = fonts_->CaretStops(face, 14, text);
    ASSERT_EQ(stops.size(), prefixes.size());
    for (size_t i = 0; i < prefixes.size(); ++i) {
      EXPECT_EQ(stops[i], fonts_->Measure(face, 14, prefixes[i])) << i;
      if (i > 0) {
        EXPECT_GT(stops[i], stops[i - 1]) << i;
      }
    }
    EXPECT_EQ(stops.back(), fonts_->Render(face, 14, text).width);
  }
}

TEST_F(FontsTest, GlyphsSitOnOneBaselineAtTheirAdvance) {
  const FontFace face = FontFace::Gothic;
  const TextImage line = fonts_->Render(face, 14, "axgA");
  const std::vector<int> stops = fonts_->CaretStops(face, 14, "axgA");
  const Ink a = InkOf(line, stops[0], stops[1]);
  const Ink x = InkOf(line, stops[1], stops[2]);
  const Ink g = InkOf(line, stops[2], stops[3]);
  const Ink capital = InkOf(line, stops[3], stops[4]);
  EXPECT_EQ(a.bottom, x.bottom);
  // At 14 pixels a descender takes two rows or more; the line must not cut it off.
  EXPECT_GE(g.bottom - a.bottom, 2);
  EXPECT_LT(capital.top, a.top);

  // A glyph looks the same wherever it stands.
  const TextImage one = fonts_->Render(face, 14, "漢");
  const TextImage two = fonts_->Render(face, 14, "漢漢");
  ASSERT_EQ(two.width, 2 * one.width);
  for (int y = 0; y < one.height; ++y) {
    for (int col = 0; col < one.width; ++col) {
      ASSERT_EQ(two.At(col, y), one.At(col, y));
      ASSERT_EQ(two.At(one.width + col, y), one.At(col, y));
    }
  }
  // A full-width glyph is centred in its cell, not shifted by its side bearing.
  const Ink kanji = InkOf(one);
  EXPECT_LE(std::abs(kanji.left - (one.width - 1 - kanji.right)), 2);
}

TEST_F(FontsTest, BlendedTextIsTheColourOnTheBackground) {
  Surface s(80, 20, 0x000000);
  const TextImage image = fonts_->Render(FontFace::Mincho, 12, "君の名前");
  BlendText(s, 3, 4, image, 0x00C000);
  size_t green = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const uint32_t p = s.Pixel(x, y);
      ASSERT_TRUE(p == 0x000000 || p == 0x00C000) << std::hex << p;
      const bool inImage = x >= 3 && y >= 4 && x < 3 + image.width && y < 4 + image.height;
      if (p == 0x00C000) {
        ASSERT_TRUE(inImage);
        ASSERT_EQ(image.At(x - 3, y - 4), 255);
        ++green;
      }
    }
  }
  EXPECT_GT(green, 40u);
}

TextImage Pattern(int width, int height, std::vector<uint8_t> coverage) {
  TextImage image;
  image.width = width;
  image.height = height;
  image.coverage = std::move(coverage);
  return image;
}

TEST(BlendText, FullCoveragePaintsNoneLeavesAndPartMixes) {
  Surface s(3, 1, 0x204060);
  BlendText(s, 0, 0, Pattern(3, 1, {255, 0, 128}), 0xA0C0E0);
  EXPECT_EQ(s.Pixel(0, 0), 0xA0C0E0u);
  EXPECT_EQ(s.Pixel(1, 0), 0x204060u);
  // Each channel halfway, rounded: 0x20 + (0xA0 - 0x20) * 128 / 255 and so on.
  EXPECT_EQ(s.Pixel(2, 0), 0x6080A0u);
}

TEST(BlendText, ClipsAtEveryEdge) {
  Surface s(3, 3, 0x000000);
  const TextImage full = Pattern(2, 2, {255, 255, 255, 255});
  BlendText(s, -1, -1, full, 0xFFFFFF);  // only its bottom-right reaches (0, 0)
  BlendText(s, 2, 2, full, 0x00FF00);    // only its top-left reaches (2, 2)
  BlendText(s, 5, 0, full, 0xFF0000);    // wholly outside
  BlendText(s, 0, -7, full, 0xFF0000);
  const std::vector<uint32_t> expected = {0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0x00FF00};
  EXPECT_EQ(s.Pixels(), expected);
}

// Runs OpenFonts under a fontconfig configuration of the test's own making.
class FontConfigTest : public ::testing::Test {
 protected:
  void Use(const std::string& body) {
    const std::string path = dir_.File("fonts.conf");
    test::WriteBytes(path, "<?xml version=\"1.0\"?>\n<fontconfig>" + body + "</fontconfig>\n");
    setenv("FONTCONFIG_FILE", path.c_str(), 1);
  }

  test::TempDir dir_;
  test::ScopedEnv env_{"FONTCONFIG_FILE"};
};

TEST_F(FontConfigTest, NoFontsAtAllTellsWhatToInstall) {
  Use("");
  std::string error;
  EXPECT_EQ(OpenFonts(error), nullptr);
  EXPECT_EQ(error, kNoJapaneseFont);
  EXPECT_NE(error.find("fonts-ipafont-mincho"), std::string::npos);
  EXPECT_FALSE(FindJapaneseFont(FontFace::Gothic).has_value());
}

TEST_F(FontConfigTest, FacesWithoutKanaDoNotCount) {
  if (!std::filesystem::is_directory("/usr/share/fonts/truetype/dejavu")) GTEST_SKIP() << "no DejaVu here";
  Use("<dir>/usr/share/fonts/truetype/dejavu</dir>");
  std::string error;
  EXPECT_EQ(OpenFonts(error), nullptr);
  EXPECT_EQ(error, kNoJapaneseFont);
}

TEST_F(FontConfigTest, AnyJapaneseFaceStandsInForAMissingOne) {
  // The serif asked for is a face without kana; the only Japanese face is the 8-pixel one.
  const std::string misaki = "/usr/share/fonts/truetype/misaki";
  if (!std::filesystem::is_directory("/usr/share/fonts/truetype/dejavu") || !std::filesystem::is_directory(misaki)) {
    GTEST_SKIP() << "needs DejaVu and Misaki";
  }
  Use("<dir>/usr/share/fonts/truetype/dejavu</dir><dir>" + misaki +
      "</dir><alias binding=\"strong\"><family>serif</family><prefer><family>DejaVu Serif</family></prefer></alias>");
  const auto file = FindJapaneseFont(FontFace::Mincho);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->path.rfind(misaki, 0), 0u) << file->path;
  std::string error;
  auto fonts = OpenFonts(error);
  ASSERT_NE(fonts, nullptr) << error;
  EXPECT_GT(fonts->Measure(FontFace::Mincho, 12, "漢"), 0);
}

TEST_F(FontConfigTest, TheInstalledFontsComeBackWhenTheConfigurationDoes) {
  Use("");
  std::string error;
  ASSERT_EQ(OpenFonts(error), nullptr);
  unsetenv("FONTCONFIG_FILE");
  auto fonts = OpenFonts(error);
  EXPECT_NE(fonts, nullptr) << error;
  EXPECT_TRUE(error.empty());
}

}  // namespace
}  // namespace kav
