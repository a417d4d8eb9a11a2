#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

using pal::kSpriteKey;

constexpr uint32_t kMatrixBack = 0x0A0C12;
constexpr uint32_t kDotDim = 0x181D28;
constexpr uint32_t kDotDimLight = 0x212837;
constexpr uint32_t kBandGreen = 0x4CE47A;
constexpr uint32_t kBandRed = 0xF24C4C;
constexpr uint32_t kBandOrange = 0xF8A232;

constexpr uint32_t kFrameLight = 0xB8C2D2;
constexpr uint32_t kFrameTop = 0x58637C;
constexpr uint32_t kFrameBottom = 0x333A4E;
constexpr uint32_t kFrameDark = 0x181C28;

constexpr uint32_t kDigitTop = 0xFFFFF4;
constexpr uint32_t kDigitMid = 0xFFF0A0;
constexpr uint32_t kDigitBottom = 0xF4C443;
constexpr uint32_t kBrass = 0xD8A838;
constexpr uint32_t kBrassLight = 0xF8E08A;
constexpr uint32_t kBrassDark = 0x8A6420;
constexpr uint32_t kCopper = 0xC8683A;
constexpr uint32_t kCopperLight = 0xF0A070;

constexpr uint32_t kLogoTop = 0xFFF8D8;
constexpr uint32_t kLogoUpper = 0xF8C848;
constexpr uint32_t kLogoLower = 0xD8501C;
constexpr uint32_t kLogoBottom = 0xF8A040;
constexpr uint32_t kLogoShadow = 0x2A1838;

constexpr int kCellW = 24;
constexpr int kCellH = 28;
constexpr int kDotPitch = 3;
constexpr int kDotTop = 2;
constexpr int kFontGrid = 8;

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  const auto channel = [&](int shift) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    return static_cast<uint32_t>(ca + static_cast<int>((cb - ca) * t + (cb >= ca ? 0.5 : -0.5))) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

int Mod(int a, int m) {
  return ((a % m) + m) % m;
}

// The unlit dot matrix, for a position relative to the top-left corner of any glyph cell.
// It repeats cell by cell, so the glyph sheet and the message window's panels line up.
uint32_t MatrixPixel(int x, int y) {
  x = Mod(x, kCellW);
  y = Mod(y, kCellH);
  if (y < kDotTop || y >= kDotTop + kFontGrid * kDotPitch) return kMatrixBack;
  const int dx = x % kDotPitch;
  const int dy = (y - kDotTop) % kDotPitch;
  if (dx == 2 || dy == 2) return kMatrixBack;
  return (dx == 0 && dy == 0) ? kDotDimLight : kDotDim;
}

void FillMatrix(Surface& s, int x0, int y0, int x1, int y1, int originX, int originY) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) s.SetPixel(x, y, MatrixPixel(x - originX, y - originY));
  }
}

// One lit 2x2 dot of font pixel (gx, gy) of the cell at (cellX, cellY), lit from the top left.
void LightDot(Surface& s, int cellX, int cellY, int gx, int gy, uint32_t colour) {
  const int x = cellX + gx * kDotPitch;
  const int y = cellY + kDotTop + gy * kDotPitch;
  s.SetPixel(x, y, Mix(colour, 0xFFFFFF, 0.55));
  s.SetPixel(x + 1, y, colour);
  s.SetPixel(x, y + 1, colour);
  s.SetPixel(x + 1, y + 1, Mix(colour, 0x000000, 0.25));
}

using FontBitmap = std::array<bool, kFontGrid * kFontGrid>;

class PixelFont {
 public:
  explicit PixelFont(const std::string& path) : path_(path) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("cannot start FreeType for " + path);
    lib_.reset(lib);
    FT_Face face = nullptr;
    if (FT_New_Face(lib_.get(), path.c_str(), 0, &face) != 0) {
      throw std::runtime_error("cannot load pixel font " + path);
    }
    face_.reset(face);
    if (FT_Set_Pixel_Sizes(face_.get(), 0, kFontGrid) != 0) {
      throw std::runtime_error("pixel font " + path + " has no 8-pixel size");
    }
  }

  // The glyph on the 8x8 grid, its baseline where the font's own ascent puts it.
  FontBitmap Render(char32_t ch) const {
    if (FT_Get_Char_Index(face_.get(), ch) == 0 ||
        FT_Load_Char(face_.get(), ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      throw std::runtime_error("pixel font " + path_ + " cannot draw U+" + Hex(ch));
    }
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int baseline = static_cast<int>(face_->size->metrics.ascender >> 6);
    FontBitmap out{};
    for (int by = 0; by < static_cast<int>(bitmap.rows); ++by) {
      for (int bx = 0; bx < static_cast<int>(bitmap.width); ++bx) {
        const unsigned char byte = bitmap.buffer[by * bitmap.pitch + bx / 8];
        if (((byte >> (7 - bx % 8)) & 1) == 0) continue;
        const int gx = slot->bitmap_left + bx;
        const int gy = baseline - slot->bitmap_top + by;
        if (gx >= 0 && gy >= 0 && gx < kFontGrid && gy < kFontGrid) out[gy * kFontGrid + gx] = true;
      }
    }
    return out;
  }

 private:
  static std::string Hex(char32_t ch) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (int shift = 12; shift >= 0; shift -= 4) s += kDigits[(ch >> shift) & 0xF];
    return s;
  }

  struct LibraryDone {
    void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
  };
  struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
  };

  std::string path_;
  // Declared first so the face is released before its library.
  std::unique_ptr<FT_LibraryRec_, LibraryDone> lib_;
  std::unique_ptr<FT_FaceRec_, FaceDone> face_;
};

constexpr std::u32string_view kGlyphRows[] = {
    U"　０１２３４５６７８９：＝＊＋ー（）ｕｄｎｒ．［］ｅ",
    U"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ",
    U"アイウエオカキクケコサシスセソタチツテトナニヌネノ",
    U"ハヒフヘホマミムメモヤユヨラリルレロワヲン゛゜！？＃",
    U"ァィゥェォッャュョ",
};
constexpr int kBandHeight = 140;
constexpr uint32_t kBandColours[] = {kBandGreen, kBandRed, kBandOrange};

// A small monochrome picture: the bitmap-font letters are grown from these.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bits;

  Mask(int w, int h) : width(w), height(h), bits(static_cast<size_t>(w) * h, 0) {}
  bool At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && bits[y * width + x] != 0; }
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < width && y < height) bits[y * width + x] = 1;
  }
};

Mask MaskFromRows(std::span<const std::string_view> rows) {
  Mask m(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
  for (int y = 0; y < m.height; ++y) {
    if (static_cast<int>(rows[y].size()) != m.width) throw std::logic_error("ragged letter bitmap");
    for (int x = 0; x < m.width; ++x) {
      if (rows[y][x] == 'X') m.Set(x, y);
    }
  }
  return m;
}

// Scale2x: doubles a bitmap and rounds off its stair steps instead of making them bigger.
Mask Scale2x(const Mask& in) {
  Mask out(in.width * 2, in.height * 2);
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      const bool e = in.At(x, y);
      const bool b = in.At(x, y - 1);
      const bool d = in.At(x - 1, y);
      const bool f = in.At(x + 1, y);
      const bool h = in.At(x, y + 1);
      const bool e0 = (d == b && b != f && d != h) ? d : e;
      const bool e1 = (b == f && b != d && f != h) ? f : e;
      const bool e2 = (d == h && d != b && h != f) ? d : e;
      const bool e3 = (h == f && d != h && b != f) ? f : e;
      if (e0) out.Set(2 * x, 2 * y);
      if (e1) out.Set(2 * x + 1, 2 * y);
      if (e2) out.Set(2 * x, 2 * y + 1);
      if (e3) out.Set(2 * x + 1, 2 * y + 1);
    }
  }
  return out;
}

// Scale3x, the three-times sibling of Scale2x.
Mask Scale3x(const Mask& in) {
  Mask out(in.width * 3, in.height * 3);
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      const bool a = in.At(x - 1, y - 1);
      const bool b = in.At(x, y - 1);
      const bool c = in.At(x + 1, y - 1);
      const bool d = in.At(x - 1, y);
      const bool e = in.At(x, y);
      const bool f = in.At(x + 1, y);
      const bool g = in.At(x - 1, y + 1);
      const bool h = in.At(x, y + 1);
      const bool i = in.At(x + 1, y + 1);
      const bool px[9] = {
          (d == b && b != f && d != h) ? d : e,
          ((d == b && b != f && d != h && e != c) || (b == f && b != d && f != h && e != a)) ? b : e,
          (b == f && b != d && f != h) ? f : e,
          ((d == b && b != f && d != h && e != g) || (d == h && d != b && h != f && e != a)) ? d : e,
          e,
          ((b == f && b != d && f != h && e != i) || (h == f && d != h && b != f && e != c)) ? f : e,
          (d == h && d != b && h != f) ? d : e,
          ((d == h && d != b && h != f && e != i) || (h == f && d != h && b != f && e != g)) ? h : e,
          (h == f && d != h && b != f) ? f : e,
      };
      for (int k = 0; k < 9; ++k) {
        if (px[k]) out.Set(3 * x + k % 3, 3 * y + k / 3);
      }
    }
  }
  return out;
}

// Paints a grown letter at (ox, oy): gradient body with a light top-left and a dark
// bottom-right bevel. `ramp` gives the body colour for a height fraction 0..1.
template <typename Ramp>
void PaintBevelled(Surface& s, const Mask& m, int ox, int oy, int bevel, Ramp ramp) {
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      if (!m.At(x, y)) continue;
      uint32_t c = ramp(static_cast<double>(y) / (m.height - 1));
      bool lit = false;
      bool shaded = false;
      for (int k = 1; k <= bevel; ++k) {
        lit = lit || !m.At(x, y - k) || !m.At(x - k, y);
        shaded = shaded || !m.At(x, y + k) || !m.At(x + k, y);
      }
      if (lit && !shaded) c = Mix(c, 0xFFFFFF, 0.5);
      if (shaded && !lit) c = Mix(c, 0x000000, 0.3);
      s.SetPixel(ox + x, oy + y, c);
    }
  }
}

// Rings every figure pixel (anything not `key`) with `ink`, `width` pixels wide,
// plus a drop shadow of `shadow` pixels toward the bottom right.
void InkRing(Surface& s, uint32_t key, int width, uint32_t ink, int shadow, uint32_t shadowColour) {
  const Surface figure = s;
  const auto isFigure = [&](int x, int y) {
    const uint32_t p = figure.Pixel(x, y);
    return p != key && p != kInvalidPixel;
  };
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (isFigure(x, y)) continue;
      bool near = false;
      for (int dy = -width; dy <= width && !near; ++dy) {
        for (int dx = -width; dx <= width && !near; ++dx) {
          // Octagonal reach keeps the corners of the ring from going square.
          if (std::abs(dx) + std::abs(dy) > width + width / 2) continue;
          near = isFigure(x + dx, y + dy);
        }
      }
      bool shade = false;
      for (int k = 1; k <= shadow + width && !near && !shade; ++k) {
        shade = isFigure(x - k, y - k) || isFigure(x - k + 1, y - k) || isFigure(x - k, y - k + 1);
      }
      if (near) {
        s.SetPixel(x, y, ink);
      } else if (shade) {
        s.SetPixel(x, y, shadowColour);
      }
    }
  }
}

// 5x7 symbols of the digit font, in the order of its cells after the blank.
constexpr std::string_view kDigitGlyphs[][7] = {
    {".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX."},  // 0
    {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX."},  // 1
    {".XXX.", "X...X", "....X", "...X.", "..X..", ".X...", "XXXXX"},  // 2
    {"XXXXX", "...X.", "..X..", "...X.", "....X", "X...X", ".XXX."},  // 3
    {"...X.", "..XX.", ".X.X.", "X..X.", "XXXXX", "...X.", "...X."},  // 4
    {"XXXXX", "X....", "XXXX.", "....X", "....X", "X...X", ".XXX."},  // 5
    {"..XX.", ".X...", "X....", "XXXX.", "X...X", "X...X", ".XXX."},  // 6
    {"XXXXX", "....X", "...X.", "..X..", ".X...", ".X...", ".X..."},  // 7
    {".XXX.", "X...X", "X...X", ".XXX.", "X...X", "X...X", ".XXX."},  // 8
    {".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX.."},  // 9
    {".....", ".....", ".....", ".....", ".....", ".XX..", ".XX.."},  // .
    {".X.X.", ".X.X.", ".X.X.", ".....", ".....", ".....", "....."},  // "
    {".X.X.", ".X.X.", "XXXXX", ".X.X.", "XXXXX", ".X.X.", ".X.X."},  // #
    {"..X..", ".XXXX", "X.X..", ".XXX.", "..X.X", "XXXX.", "..X.."},  // $
    {"XX...", "XX..X", "...X.", "..X..", ".X...", "X..XX", "...XX"},  // %
    {".XX..", "X..X.", "X.X..", ".X...", "X.X.X", "X..X.", ".XX.X"},  // &
    {".XXX.", "X...X", "....X", "...X.", "..X..", ".....", "..X.."},  // ?
    {".....", ".....", ".....", "XXXXX", ".....", ".....", "....."},  // -
    {".....", ".....", ".....", ".....", ".XX..", "..X..", ".X..."},  // ,
    {"....X", "....X", "...X.", "..X..", ".X...", "X....", "X...."},  // /
    {".....", ".XX..", ".XX..", ".....", ".XX..", ".XX..", "....."},  // :
    {".....", ".....", "XXXXX", ".....", "XXXXX", ".....", "....."},  // =
    {".....", "..X..", "..X..", "XXXXX", "..X..", "..X..", "....."},  // +
    {".....", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "....."},  // *, drawn as a times sign
};
constexpr int kDigitCellW = 25;
constexpr int kDigitCellH = 35;

uint32_t DigitRamp(double t) {
  return t < 0.45 ? Mix(kDigitTop, kDigitMid, t / 0.45) : Mix(kDigitMid, kDigitBottom, (t - 0.45) / 0.55);
}

// The cartridge that stands before the magazine count: copper bullet over a brass case.
void DrawCartridge(Surface& s, int cellX) {
  constexpr int kLeft = 8;
  constexpr int kWidth = 9;
  constexpr int kTop = 3;
  constexpr int kBottom = 30;
  for (int y = kTop; y <= kBottom; ++y) {
    int inset = 0;
    if (y < kTop + 6) inset = (kTop + 6 - y + 1) / 2;  // ogive of the bullet
    uint32_t body;
    uint32_t light;
    uint32_t dark;
    if (y < kTop + 9) {
      body = kCopper, light = kCopperLight, dark = Mix(kCopper, 0x000000, 0.35);
    } else if (y == kTop + 9) {
      body = dark = light = kBrassDark;  // crimp groove
    } else {
      body = kBrass, light = kBrassLight, dark = kBrassDark;
    }
    int x0 = cellX + kLeft + inset;
    int x1 = cellX + kLeft + kWidth - 1 - inset;
    if (y >= kBottom - 2) --x0, ++x1;  // the rim
    for (int x = x0; x <= x1; ++x) {
      uint32_t c = body;
      if (x <= x0 + 1) c = light;
      if (x == x1) c = dark;
      if (y >= kBottom - 2 && y != kBottom - 2) c = (x <= x0 + 1) ? kBrass : kBrassDark;
      s.SetPixel(x, y, c);
    }
  }
}

// Brushed steel: a top-to-bottom shade with faint horizontal streaks from a fixed hash.
uint32_t FrameFace(int x, int y, int height) {
  uint32_t h = static_cast<uint32_t>(x / 11) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 13;
  h *= 0xC2B2AE3Du;
  h ^= h >> 16;
  const uint32_t base = Mix(kFrameTop, kFrameBottom, static_cast<double>(y) / (height - 1));
  switch (h % 5) {
    case 0:
      return Mix(base, 0xFFFFFF, 0.05);
    case 1:
      return Mix(base, 0x000000, 0.06);
    default:
      return base;
  }
}

// A recessed panel: the matrix inside (x0..x1, y0..y1), an inked rim around it, and a dark
// upper-left and light lower-right bevel outside that.
void SunkenPanel(Surface& s, int x0, int y0, int x1, int y1) {
  for (int ring = 3; ring >= 1; --ring) {
    const int l = x0 - ring;
    const int t = y0 - ring;
    const int r = x1 + ring;
    const int b = y1 + ring;
    const uint32_t upper = ring == 1 ? pal::kInk : (ring == 2 ? kFrameDark : Mix(kFrameDark, kFrameTop, 0.5));
    const uint32_t lower = ring == 1 ? pal::kInk : (ring == 2 ? kFrameLight : Mix(kFrameLight, kFrameTop, 0.5));
    s.FillRect(l, t, r - l + 1, 1, upper);
    s.FillRect(l, t, 1, b - t + 1, upper);
    s.FillRect(l, b, r - l + 1, 1, lower);
    s.FillRect(r, t, 1, b - t + 1, lower);
  }
}

void Rivet(Surface& s, int cx, int cy) {
  s.FillRect(cx - 1, cy - 1, 3, 3, kFrameLight);
  s.FillRect(cx, cy, 2, 2, kFrameDark);
  s.SetPixel(cx, cy, Mix(kFrameLight, kFrameDark, 0.5));
  s.SetPixel(cx - 1, cy - 1, 0xFFFFFF);
}

}  // namespace

Surface MakeTitleLogo() {
  static constexpr std::string_view kLetters[][8] = {
      {"XX....XX", "XX...XX.", "XX..XX..", "XXXXX...", "XXXXX...", "XX..XX..", "XX...XX.", "XX....XX"},  // K
      {"...XX...", "..XXXX..", ".XX..XX.", "XX....XX", "XX....XX", "XXXXXXXX", "XX....XX", "XX....XX"},  // A
      {"XX....XX", "XX....XX", "XX....XX", "XX....XX", ".XX..XX.", ".XX..XX.", "..XXXX..", "...XX..."},  // V
      {"XXXXXXX.", "XX....XX", "XX....XX", "XX...XX.", "XXXXXX..", "XX..XX..", "XX...XX.", "XX....XX"},  // R
      {".XXXXXX.", "XX....XX", "XX....XX", "XX....XX", "XX....XX", "XX....XX", "XX....XX", ".XXXXXX."},  // O
      {"XX....XX", "XXX...XX", "XXXX..XX", "XX.XX.XX", "XX..XXXX", "XX...XXX", "XX....XX", "XX....XX"},  // N
  };
  static constexpr int kWord[] = {0, 1, 2, 3, 4, 5, 1};  // K A V R O N A
  constexpr int kLetterW = 48;
  constexpr int kGap = 9;
  constexpr int kTop = 3;
  constexpr int kWordW = 7 * kLetterW + 6 * kGap;
  Surface s(423, 58, kSpriteKey);
  const int left = (s.Width() - kWordW - 3) / 2;
  for (int i = 0; i < 7; ++i) {
    const Mask letter = Scale2x(Scale3x(MaskFromRows(kLetters[kWord[i]])));
    // Chrome split at the middle: a bright sky above, a hot horizon below.
    PaintBevelled(s, letter, left + i * (kLetterW + kGap), kTop, 2, [](double t) {
      return t < 0.5 ? Mix(kLogoTop, kLogoUpper, t / 0.5) : Mix(kLogoLower, kLogoBottom, (t - 0.5) / 0.5);
    });
  }
  InkRing(s, kSpriteKey, 2, pal::kInk, 3, kLogoShadow);
  return s;
}

Surface MakePartsSource() {
  Surface s(655, 131, kSpriteKey);
  for (int n = 0; n < static_cast<int>(std::size(kDigitGlyphs)); ++n) {
    const int cellX = kDigitCellW * (n + 1);
    const Mask glyph = Scale2x(Scale2x(MaskFromRows(kDigitGlyphs[n])));
    Surface cell(kDigitCellW, kDigitCellH, kSpriteKey);
    PaintBevelled(cell, glyph, 2, 3, 1, DigitRamp);
    InkRing(cell, kSpriteKey, 1, pal::kInk, 1, pal::kInk);
    Blit(s, cellX, 0, kDigitCellW, kDigitCellH, cell, 0, 0);
  }
  Surface icon(kDigitCellW, kDigitCellH, kSpriteKey);
  DrawCartridge(icon, 0);
  InkRing(icon, kSpriteKey, 1, pal::kInk, 1, pal::kInk);
  Blit(s, kDigitCellW * 25, 0, kDigitCellW, kDigitCellH, icon, 0, 0);
  return s;
}

Surface MakeGlyphSheet(const std::string& fontPath) {
  const PixelFont font(fontPath);
  Surface s(626, 423, kMatrixBack);
  FillMatrix(s, 0, 0, s.Width() - 1, s.Height() - 1, 0, 0);
  for (int row = 0; row < static_cast<int>(std::size(kGlyphRows)); ++row) {
    const std::u32string_view chars = kGlyphRows[row];
    for (int p = 0; p < static_cast<int>(chars.size()); ++p) {
      const FontBitmap bitmap = font.Render(chars[p]);
      for (int band = 0; band < 3; ++band) {
        const int cellX = kCellW * p;
        const int cellY = band * kBandHeight + kCellH * row;
        for (int gy = 0; gy < kFontGrid; ++gy) {
          for (int gx = 0; gx < kFontGrid; ++gx) {
            if (bitmap[gy * kFontGrid + gx]) LightDot(s, cellX, cellY, gx, gy, kBandColours[band]);
          }
        }
      }
    }
  }
  return s;
}

Surface MakeMessageFrame() {
  constexpr int kW = 625;
  constexpr int kH = 376;
  // Glyph cells: line 0 at y 24, lines 1..10 from y 80, columns from x 24.
  constexpr int kGridX = 24;
  constexpr int kGridY = 24;
  Surface s(kW, kH, 0);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) s.SetPixel(x, y, FrameFace(x, y, kH));
  }
  // Raised outer edge.
  s.FillRect(1, 1, kW - 2, 2, kFrameLight);
  s.FillRect(1, 1, 2, kH - 2, kFrameLight);
  s.FillRect(1, kH - 3, kW - 2, 2, kFrameDark);
  s.FillRect(kW - 3, 1, 2, kH - 2, kFrameDark);
  s.FillRect(0, 0, kW, 1, pal::kInk);
  s.FillRect(0, kH - 1, kW, 1, pal::kInk);
  s.FillRect(0, 0, 1, kH, pal::kInk);
  s.FillRect(kW - 1, 0, 1, kH, pal::kInk);

  // The panels reach a little past the cells; the matrix just carries on there.
  struct Panel {
    int x0, y0, x1, y1;
  };
  constexpr Panel kPanels[] = {{21, 22, 623, 53}, {21, 78, 623, 361}};
  for (const Panel& p : kPanels) {
    SunkenPanel(s, p.x0, p.y0, p.x1, p.y1);
    FillMatrix(s, p.x0, p.y0, p.x1, p.y1, kGridX, kGridY);
  }
  s.FillRect(kW - 1, 0, 1, kH, pal::kInk);
  for (const int y : {9, 66, 368}) {
    Rivet(s, 9, y);
    Rivet(s, kW - 12, y);
  }
  return s;
}

}  // namespace kav::artgen
