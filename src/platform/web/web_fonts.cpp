#include "platform/web/web_fonts.h"

#include <string>

#include "base/utf8.h"
#include "platform/web/web_js.h"

namespace kav {
namespace {

// Past this no text of the game's; a bad argument asks no huge canvas of the page.
constexpr int kMaxPixelHeight = 256;

int FaceCode(FontFace face) {
  return face == FontFace::Mincho ? 0 : 1;
}

// The advance of every code point, counted as the text field counts them (a malformed byte is
// one code point of its own).
std::vector<int32_t> Advances(FontFace face, int pixelHeight, std::string_view utf8) {
  const std::u32string points = DecodeUtf8(utf8);
  std::vector<int32_t> advances(points.size(), 0);
  if (points.empty() || pixelHeight <= 0 || pixelHeight > kMaxPixelHeight) return advances;
  const std::string text = EncodeUtf8(points);
  kav_web_font_advances(FaceCode(face), pixelHeight, text.c_str(), advances.data(), static_cast<int>(advances.size()));
  return advances;
}

}  // namespace

int WebFonts::LineHeight(FontFace face, int pixelHeight) {
  if (pixelHeight <= 0 || pixelHeight > kMaxPixelHeight) return 0;
  return kav_web_font_line_height(FaceCode(face), pixelHeight);
}

int WebFonts::Measure(FontFace face, int pixelHeight, std::string_view utf8) {
  return CaretStops(face, pixelHeight, utf8).back();
}

std::vector<int> WebFonts::CaretStops(FontFace face, int pixelHeight, std::string_view utf8) {
  const std::vector<int32_t> advances = Advances(face, pixelHeight, utf8);
  std::vector<int> stops(advances.size() + 1, 0);
  for (size_t i = 0; i < advances.size(); ++i) stops[i + 1] = stops[i] + advances[i];
  return stops;
}

TextImage WebFonts::Render(FontFace face, int pixelHeight, std::string_view utf8) {
  TextImage image;
  if (pixelHeight <= 0 || pixelHeight > kMaxPixelHeight) return image;
  const std::vector<int32_t> advances = Advances(face, pixelHeight, utf8);
  image.height = LineHeight(face, pixelHeight);
  for (const int32_t a : advances) image.width += a;
  image.coverage.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
  if (image.width == 0 || image.height == 0) return image;
  const std::string text = EncodeUtf8(DecodeUtf8(utf8));
  kav_web_font_render(FaceCode(face), pixelHeight, text.c_str(), advances.data(), static_cast<int>(advances.size()),
                      image.width, image.height, image.coverage.data());
  return image;
}

}  // namespace kav
