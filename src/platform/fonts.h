#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kav {

// The dialog's two faces: Mincho for the message, a proportional Gothic for the input field,
// the title bar and the buttons.
enum class FontFace { Mincho, Gothic };

// Grey ink coverage, 0 (none) to 255 (full), row-major, top row first. The image is exactly as
// wide as the text's advance and one line high, its top at the line's top.
struct TextImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;

  uint8_t At(int x, int y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
};

// Text on one line, no wrapping. Pixel heights are the em size. A malformed UTF-8 byte counts
// as one code point, as the text field counts it.
class Fonts {
 public:
  virtual ~Fonts() = default;

  virtual int LineHeight(FontFace face, int pixelHeight) = 0;
  // The advance width in pixels; always Render's width.
  virtual int Measure(FontFace face, int pixelHeight, std::string_view utf8) = 0;
  // The x of every code point boundary, 0 first and Measure last: code points + 1 entries.
  virtual std::vector<int> CaretStops(FontFace face, int pixelHeight, std::string_view utf8) = 0;
  virtual TextImage Render(FontFace face, int pixelHeight, std::string_view utf8) = 0;
};

}  // namespace kav
