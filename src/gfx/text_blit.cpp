#include "gfx/text_blit.h"

#include <algorithm>

namespace kav {

void BlendText(Surface& dst, int x, int y, const TextImage& text, uint32_t colour) {
  const int left = std::max(0, -x);
  const int top = std::max(0, -y);
  const int right = std::min(text.width, dst.Width() - x);
  const int bottom = std::min(text.height, dst.Height() - y);
  if (left >= right || top >= bottom) return;
  for (int row = top; row < bottom; ++row) {
    uint32_t* out = dst.Row(y + row) + x;
    for (int col = left; col < right; ++col) {
      const uint32_t a = text.At(col, row);
      if (a == 0) continue;
      const uint32_t under = out[col];
      uint32_t mixed = 0;
      for (const int shift : {16, 8, 0}) {
        const uint32_t f = (colour >> shift) & 0xFF;
        const uint32_t b = (under >> shift) & 0xFF;
        mixed |= ((f * a + b * (255 - a) + 127) / 255) << shift;
      }
      out[col] = mixed;
    }
  }
}

}  // namespace kav
