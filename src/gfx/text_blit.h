#pragma once

#include <cstdint>

#include "gfx/surface.h"
#include "platform/fonts.h"

namespace kav {

// Lays the text's ink over dst with its top-left at (x, y): full coverage paints the colour,
// none leaves the pixel, anything between mixes the two. Clipped to dst.
void BlendText(Surface& dst, int x, int y, const TextImage& text, uint32_t colour);

}  // namespace kav
