#include "platform/ttf_fonts.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <utility>

#include "base/utf8.h"

namespace kav {
namespace {

// Pixel sizes past this are no text the game draws; refusing them keeps a bad argument from
// asking SDL_ttf for huge bitmaps.
constexpr int kMaxPixelHeight = 256;

// A face counts as Japanese when it has hiragana, katakana and kanji.
constexpr std::array<FcChar32, 3> kJapaneseProbe = {0x3042, 0x30A2, 0x6F22};

struct ConfigCloser {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternCloser {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetCloser {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct FontCloser {
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct SurfaceCloser {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using ConfigPtr = std::unique_ptr<FcConfig, ConfigCloser>;
using PatternPtr = std::unique_ptr<FcPattern, PatternCloser>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetCloser>;
using TtfFontPtr = std::unique_ptr<TTF_Font, FontCloser>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceCloser>;

// A font pattern that can show Japanese and names a file, or nothing.
std::optional<FontFile> JapaneseFile(FcPattern* font) {
  FcCharSet* chars = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch) return std::nullopt;
  for (const FcChar32 c : kJapaneseProbe) {
    if (!FcCharSetHasChar(chars, c)) return std::nullopt;
  }
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) return std::nullopt;
  FontFile out;
  out.path = reinterpret_cast<const char*>(file);
  FcChar8* family = nullptr;
  if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
    out.family = reinterpret_cast<const char*>(family);
  }
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
  return out;
}

// Coverage of one glyph as SDL_ttf draws it, placed against the pen and the line's top.
struct Glyph {
  int advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

// One face opened at one size.
struct SizedFont {
  TtfFontPtr font;
  int ascent = 0;
  int baseline = 0;  // rows from the line's top
  int lineHeight = 0;
  std::unordered_map<char32_t, Glyph> glyphs;
};

class TtfFonts final : public Fonts {
 public:
  explicit TtfFonts(std::array<FontFile, 2> files) : files_(std::move(files)) {}
  ~TtfFonts() override {
    sizes_.clear();  // every font closes before the library goes
    TTF_Quit();
  }
  TtfFonts(const TtfFonts&) = delete;
  TtfFonts& operator=(const TtfFonts&) = delete;

  // The smallest size the dialog uses, to find a file that will not open before play starts.
  bool Opens(FontFace face) { return Sized(face, 12) != nullptr; }

  int LineHeight(FontFace face, int pixelHeight) override {
    SizedFont* f = Sized(face, pixelHeight);
    return f != nullptr ? f->lineHeight : 0;
  }

  int Measure(FontFace face, int pixelHeight, std::string_view utf8) override {
    return CaretStops(face, pixelHeight, utf8).back();
  }

  std::vector<int> CaretStops(FontFace face, int pixelHeight, std::string_view utf8) override {
    const std::u32string text = DecodeUtf8(utf8);
    std::vector<int> stops(text.size() + 1, 0);
    SizedFont* f = Sized(face, pixelHeight);
    if (f == nullptr) return stops;
    for (size_t i = 0; i < text.size(); ++i) stops[i + 1] = stops[i] + GlyphOf(*f, text[i]).advance;
    return stops;
  }

  TextImage Render(FontFace face, int pixelHeight, std::string_view utf8) override {
    TextImage image;
    SizedFont* f = Sized(face, pixelHeight);
    if (f == nullptr) return image;
    const std::u32string text = DecodeUtf8(utf8);
    image.height = f->lineHeight;
    for (const char32_t c : text) image.width += GlyphOf(*f, c).advance;
    image.coverage.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
    int pen = 0;
    for (const char32_t c : text) {
      const Glyph& g = GlyphOf(*f, c);
      // Ink reaching past the line's box is cut off, so that the image stays the advance wide.
      for (int row = 0; row < g.height; ++row) {
        const int y = g.top + row;
        if (y < 0 || y >= image.height) continue;
        for (int col = 0; col < g.width; ++col) {
          const int x = pen + g.left + col;
          if (x < 0 || x >= image.width) continue;
          uint8_t& out =
              image.coverage[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
          out = std::max(
              out, g.coverage[static_cast<size_t>(row) * static_cast<size_t>(g.width) + static_cast<size_t>(col)]);
        }
      }
      pen += g.advance;
    }
    return image;
  }

 private:
  SizedFont* Sized(FontFace face, int pixelHeight) {
    if (pixelHeight <= 0 || pixelHeight > kMaxPixelHeight) return nullptr;
    const auto key = std::make_pair(face, pixelHeight);
    auto it = sizes_.find(key);
    if (it == sizes_.end()) it = sizes_.emplace(key, Open(files_[face == FontFace::Mincho ? 0 : 1], pixelHeight)).first;
    return it->second.get();
  }

  static std::unique_ptr<SizedFont> Open(const FontFile& file, int pixelHeight) {
    // At 72 dpi a point is a pixel, so this is the em in pixels.
    TtfFontPtr font(TTF_OpenFontIndex(file.path.c_str(), pixelHeight, file.index));
    if (!font) return nullptr;
    // Monochrome hinting with one-bit glyphs: at 12 and 14 pixels the faces' own instructions
    // give even, single-pixel strokes, where grey rendering blurs them and grid-fitting for
    // grey makes some stems two pixels wide.
    TTF_SetFontHinting(font.get(), TTF_HINTING_MONO);
    TTF_SetFontKerning(font.get(), 0);
    auto sized = std::make_unique<SizedFont>();
    sized->ascent = TTF_FontAscent(font.get());
    // The font's ascent and descent leave out parentheses, underscores and the like, so the line
    // is made tall enough for every glyph the dialog is likely to show.
    int above = sized->ascent;
    int below = -TTF_FontDescent(font.get());
    auto reach = [&](char32_t first, char32_t last) {
      for (char32_t c = first; c <= last; ++c) {
        int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
        if (!TTF_GlyphIsProvided32(font.get(), c)) continue;
        if (TTF_GlyphMetrics32(font.get(), c, &minx, &maxx, &miny, &maxy, &advance) != 0) continue;
        above = std::max(above, maxy);
        below = std::max(below, -miny);
      }
    };
    reach(0x20, 0x7E);      // ASCII
    reach(0x3000, 0x30FF);  // Japanese punctuation, hiragana, katakana
    reach(0xFF01, 0xFF9F);  // full-width forms and half-width katakana
    sized->baseline = above;
    sized->lineHeight = above + below;
    sized->font = std::move(font);
    return sized;
  }

  static const Glyph& GlyphOf(SizedFont& f, char32_t c) {
    auto it = f.glyphs.find(c);
    if (it != f.glyphs.end()) return it->second;
    Glyph g;
    int minx = 0, maxx = 0, miny = 0, maxy = 0;
    if (TTF_GlyphMetrics32(f.font.get(), c, &minx, &maxx, &miny, &maxy, &g.advance) == 0) {
      // SDL_ttf puts the pen where no ink falls left of or above the surface.
      const int xstart = std::max(0, -minx);
      const int ystart = std::max(0, maxy - f.ascent);
      SurfacePtr s(TTF_RenderGlyph32_Solid(f.font.get(), c, SDL_Color{255, 255, 255, 255}));
      if (s && s->format->BytesPerPixel == 1 && SDL_LockSurface(s.get()) == 0) {
        g.left = -xstart;
        g.top = f.baseline - f.ascent - ystart;
        g.width = s->w;
        g.height = s->h;
        g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
        for (int y = 0; y < s->h; ++y) {
          const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch;
          for (int x = 0; x < s->w; ++x) {
            // Index 0 is the background, any other the ink.
            g.coverage[static_cast<size_t>(y) * static_cast<size_t>(g.width) + static_cast<size_t>(x)] =
                row[x] != 0 ? 255 : 0;
          }
        }
        SDL_UnlockSurface(s.get());
      }
    }
    // A glyph SDL_ttf cannot draw (zero width, or missing metrics) keeps its advance and no ink.
    return f.glyphs.emplace(c, std::move(g)).first->second;
  }

  std::array<FontFile, 2> files_;
  std::map<std::pair<FontFace, int>, std::unique_ptr<SizedFont>> sizes_;  // null: would not open
};

std::optional<FontFile> FindIn(const ConfigPtr& config, FontFace face) {
  if (!config) return std::nullopt;
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  const std::array<const char*, 3> families =
      face == FontFace::Mincho ? std::array<const char*, 3>{"IPAMincho", "Noto Serif CJK JP", "serif"}
                               : std::array<const char*, 3>{"IPAPGothic", "Noto Sans CJK JP", "sans-serif"};
  for (const char* family : families) {
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  }
  FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config.get(), pattern.get(), &result));
  if (match) {
    if (auto file = JapaneseFile(match.get())) return file;
  }
  // The best match may be a face without kana (the serif of a system without Japanese fonts);
  // then any installed face that has them will do.
  FontSetPtr sorted(FcFontSort(config.get(), pattern.get(), FcFalse, nullptr, &result));
  if (!sorted) return std::nullopt;
  for (int i = 0; i < sorted->nfont; ++i) {
    if (auto file = JapaneseFile(sorted->fonts[i])) return file;
  }
  return std::nullopt;
}

// A configuration of its own each time, so that a font installed, or FONTCONFIG_FILE changed,
// since the last look is seen.
ConfigPtr LoadConfig() {
  return ConfigPtr(FcInitLoadConfigAndFonts());
}

}  // namespace

std::optional<FontFile> FindJapaneseFont(FontFace face) {
  return FindIn(LoadConfig(), face);
}

std::unique_ptr<Fonts> OpenFonts(std::string& error) {
  error.clear();
  const ConfigPtr config = LoadConfig();
  std::array<FontFile, 2> files;
  for (const FontFace face : {FontFace::Mincho, FontFace::Gothic}) {
    std::optional<FontFile> file = FindIn(config, face);
    if (!file) {
      error = kNoJapaneseFont;
      return nullptr;
    }
    files[face == FontFace::Mincho ? 0 : 1] = std::move(*file);
  }
  if (TTF_Init() != 0) {
    error = std::string("Kavrona could not start its font renderer: ") + TTF_GetError();
    return nullptr;
  }
  auto fonts = std::make_unique<TtfFonts>(files);  // from here on it pairs the TTF_Init
  for (const FontFace face : {FontFace::Mincho, FontFace::Gothic}) {
    if (!fonts->Opens(face)) {
      const FontFile& file = files[face == FontFace::Mincho ? 0 : 1];
      error = "Kavrona could not open the font " + file.path + " (" + TTF_GetError() + "). " + kNoJapaneseFont;
      return nullptr;
    }
  }
  return fonts;
}

}  // namespace kav
