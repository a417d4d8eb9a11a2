#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

using pal::kSpriteKey;

constexpr int kCellW = 24;
constexpr int kCellH = 28;
constexpr int kBandH = 140;
constexpr int kRowLengths[] = {26, 26, 25, 26, 9};

// The sheets are costly enough to draw once per test program.
const Surface& Glyphs() {
  static const Surface s = MakeGlyphSheet(KAVRONA_PIXEL_FONT);
  return s;
}

const Surface& Frame() {
  static const Surface s = MakeMessageFrame();
  return s;
}

const Surface& Parts() {
  static const Surface s = MakePartsSource();
  return s;
}

std::vector<uint32_t> Cell(const Surface& s, int x0, int y0, int w, int h) {
  std::vector<uint32_t> out;
  out.reserve(static_cast<size_t>(w) * h);
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) out.push_back(s.Pixel(x, y));
  }
  return out;
}

std::vector<uint32_t> GlyphCell(int band, int row, int pos) {
  return Cell(Glyphs(), kCellW * (pos - 1), kBandH * band + kCellH * row, kCellW, kCellH);
}

// Which pixels of a glyph cell differ from the blank cell: the lit dots.
std::vector<bool> LitMask(const std::vector<uint32_t>& cell) {
  const std::vector<uint32_t> blank = GlyphCell(0, 0, 1);
  std::vector<bool> lit(cell.size());
  for (size_t i = 0; i < cell.size(); ++i) lit[i] = cell[i] != blank[i];
  return lit;
}

TEST(TitleLogo, IsShapedOnTheKey) {
  const Surface s = MakeTitleLogo();
  EXPECT_EQ(s.Width(), 423);
  EXPECT_EQ(s.Height(), 58);
  EXPECT_EQ(s.Pixel(0, 0), kSpriteKey);
  EXPECT_EQ(s.Pixel(422, 57), kSpriteKey);
  EXPECT_EQ(s.Pixels(), MakeTitleLogo().Pixels());
}

TEST(TitleLogo, SpellsSevenSeparateLetters) {
  const Surface s = MakeTitleLogo();
  // Columns that hold letter colour (neither key, nor the ink rim, nor the shadow);
  // seven runs of them are the seven letters of the name.
  std::vector<bool> letterColumn(s.Width(), false);
  for (int x = 0; x < s.Width(); ++x) {
    for (int y = 0; y < s.Height(); ++y) {
      const uint32_t p = s.Pixel(x, y);
      const int r = (p >> 16) & 0xFF;
      if (p != kSpriteKey && p != pal::kInk && r > 0x80) letterColumn[x] = true;
    }
  }
  int runs = 0;
  for (int x = 0; x < s.Width(); ++x) runs += letterColumn[x] && (x == 0 || !letterColumn[x - 1]);
  EXPECT_EQ(runs, 7);
  EXPECT_FALSE(letterColumn.front());
  EXPECT_FALSE(letterColumn.back());
}

TEST(PartsSource, KeyAtOneOneAndABlankFirstCell) {
  const Surface& s = Parts();
  ASSERT_EQ(s.Width(), 655);
  ASSERT_EQ(s.Height(), 131);
  const uint32_t key = s.Pixel(1, 1);
  for (int y = 0; y < 35; ++y) {
    for (int x = 0; x < 25; ++x) EXPECT_EQ(s.Pixel(x, y), key) << x << "," << y;
  }
  EXPECT_EQ(s.Pixels(), MakePartsSource().Pixels());
}

TEST(PartsSource, EveryFontCellHasItsOwnFigureInsideTheCell) {
  const Surface& s = Parts();
  const uint32_t key = s.Pixel(1, 1);
  std::vector<std::vector<uint32_t>> cells;
  for (int n = 1; n <= 26; ++n) cells.push_back(Cell(s, 25 * (n - 1), 0, 25, 35));
  for (int n = 2; n <= 26; ++n) {
    const int x0 = 25 * (n - 1);
    int figure = 0;
    for (int y = 0; y < 35; ++y) {
      for (int x = x0; x < x0 + 25; ++x) figure += s.Pixel(x, y) != key;
      // A figure touching its cell's side would run into the next cell of a number.
      EXPECT_EQ(s.Pixel(x0, y), key) << "cell " << n << " row " << y;
      EXPECT_EQ(s.Pixel(x0 + 24, y), key) << "cell " << n << " row " << y;
    }
    EXPECT_GT(figure, 20) << "cell " << n;
    for (int m = 1; m < n; ++m) EXPECT_NE(cells[n - 1], cells[m - 1]) << "cells " << m << " and " << n;
  }
}

TEST(PartsSource, DigitsAreBrightOverADarkBand) {
  const Surface& s = Parts();
  const uint32_t key = s.Pixel(1, 1);
  for (int n = 2; n <= 11; ++n) {
    long sum = 0;
    int count = 0;
    for (int y = 0; y < 35; ++y) {
      for (int x = 25 * (n - 1); x < 25 * n; ++x) {
        const uint32_t p = s.Pixel(x, y);
        if (p == key || p == pal::kInk) continue;
        sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF);
        ++count;
      }
    }
    ASSERT_GT(count, 0);
    EXPECT_GT(sum / count, 2 * 190) << "digit " << n - 2;
  }
}

TEST(GlyphSheet, HasItsSizeAndIsTheSameOnEveryCall) {
  EXPECT_EQ(Glyphs().Width(), 626);
  EXPECT_EQ(Glyphs().Height(), 423);
  EXPECT_EQ(Glyphs().Pixels(), MakeGlyphSheet(KAVRONA_PIXEL_FONT).Pixels());
}

TEST(GlyphSheet, MissingFontFailsWithItsPath) {
  try {
    MakeGlyphSheet("/nonexistent/kavrona-font.ttf");
    FAIL() << "expected an exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/kavrona-font.ttf"), std::string::npos);
  }
}

TEST(GlyphSheet, EveryCharacterIsDrawnAndDiffersFromItsNeighbours) {
  const std::vector<uint32_t> blank = GlyphCell(0, 0, 1);
  for (int row = 0; row < 5; ++row) {
    for (int pos = 1; pos <= 26; ++pos) {
      const std::vector<uint32_t> cell = GlyphCell(0, row, pos);
      const bool used = pos <= kRowLengths[row] && !(row == 0 && pos == 1);
      if (!used) {
        EXPECT_EQ(cell, blank) << "row " << row << " pos " << pos;
        continue;
      }
      EXPECT_NE(cell, blank) << "row " << row << " pos " << pos;
      if (pos > 1 && !(row == 0 && pos == 2)) {
        EXPECT_NE(cell, GlyphCell(0, row, pos - 1)) << "row " << row << " pos " << pos;
      }
    }
  }
}

TEST(GlyphSheet, BandsShareShapesInTheirOwnColours) {
  for (int row = 0; row < 5; ++row) {
    for (int pos = 1; pos <= kRowLengths[row]; ++pos) {
      const std::vector<bool> shape = LitMask(GlyphCell(0, row, pos));
      EXPECT_EQ(LitMask(GlyphCell(1, row, pos)), shape) << "row " << row << " pos " << pos;
      EXPECT_EQ(LitMask(GlyphCell(2, row, pos)), shape) << "row " << row << " pos " << pos;
    }
  }
  // The dots of "0" (row 0, position 2) in each band: green, red, orange.
  int green = 0;
  int red = 0;
  int orange = 0;
  int lit = 0;
  for (int band = 0; band < 3; ++band) {
    const std::vector<uint32_t> cell = GlyphCell(band, 0, 2);
    const std::vector<bool> mask = LitMask(cell);
    for (size_t i = 0; i < cell.size(); ++i) {
      if (!mask[i]) continue;
      const int r = (cell[i] >> 16) & 0xFF;
      const int g = (cell[i] >> 8) & 0xFF;
      const int b = cell[i] & 0xFF;
      if (band == 0) {
        ++lit;
        green += g > r && g > b;
      }
      if (band == 1) red += r > g + 60 && r > b + 60 && std::abs(g - b) < 16;
      if (band == 2) orange += r > g && g > b + 40;
    }
  }
  ASSERT_GT(lit, 10);
  EXPECT_EQ(green, lit);
  EXPECT_EQ(red, lit);
  EXPECT_EQ(orange, lit);
}

TEST(MessageFrame, ABlankCellMatchesThePanelAtEveryLineAndColumn) {
  const Surface& f = Frame();
  ASSERT_EQ(f.Width(), 625);
  ASSERT_EQ(f.Height(), 376);
  for (int band = 0; band < 3; ++band) {
    const std::vector<uint32_t> blank = GlyphCell(band, 0, 1);
    for (int line = 0; line <= 10; ++line) {
      const int y = line == 0 ? 24 : 52 + 28 * line;
      for (int column = 1; column <= 25; ++column) {
        EXPECT_EQ(Cell(f, 24 * column, y, kCellW, kCellH), blank)
            << "band " << band << " line " << line << " column " << column;
      }
    }
  }
}

TEST(MessageFrame, FramesThePanelsAndIsTheSameOnEveryCall) {
  const Surface& f = Frame();
  const std::vector<uint32_t> blank = GlyphCell(0, 0, 1);
  // The margins around the panels are frame, not matrix.
  EXPECT_NE(Cell(f, 0, 24, kCellW, kCellH), blank);
  EXPECT_NE(Cell(f, 24, 0, kCellW, 20), Cell(Glyphs(), 0, 0, kCellW, 20));
  EXPECT_NE(Cell(f, 24, 52, kCellW, kCellH), blank);
  EXPECT_EQ(f.Pixels(), MakeMessageFrame().Pixels());
}

}  // namespace
}  // namespace kav::artgen
