#include "gfx/digits.h"

#include <cstddef>
#include <string_view>

#include "base/utf8.h"

namespace kav {
namespace {

// The order of the 25 x 35 cells in row 0 of the parts sheet; the last one is the magazine icon.
constexpr std::u32string_view kDigitFont = U" 0123456789.\"#$%&?-,/:=+*M";
constexpr int kCellWidth = 25;
constexpr int kCellHeight = 35;
// The strip's backdrop is always taken this wide; a narrower strip clips it.
constexpr int kStripWidth = 325;

}  // namespace

void DrawDigits(Screen& screen, Pic target, const std::string& text, const Trace& trace) {
  Control& strip = screen[target];
  Blit(strip.Image, 0, 0, kStripWidth, kCellHeight, screen[Pic::picBack].Image, strip.Left, strip.Top);
  const Surface& mask = screen[Pic::picMask].Image;
  const Surface& parts = screen[Pic::picBuhin].Image;
  const std::u32string chars = DecodeUtf8(text);
  for (size_t i = 0; i < chars.size(); ++i) {
    // A character the font lacks has no cell: the backdrop shows, and the next one keeps its place.
    const size_t n = kDigitFont.find(chars[i]);
    if (n == std::u32string_view::npos) continue;
    const int dx = kCellWidth * static_cast<int>(i);
    const int sx = kCellWidth * static_cast<int>(n);
    Blit(strip.Image, dx, 0, kCellWidth, kCellHeight, mask, sx, 0, Rop::And);
    Blit(strip.Image, dx, 0, kCellWidth, kCellHeight, parts, sx, 0, Rop::Or);
  }
  trace.Emit("digits", [&](TraceEvent& e) { e.Add("target", strip.Name).Add("text", text); });
  screen.Refresh();
}

}  // namespace kav
