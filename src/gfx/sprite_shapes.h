#pragma once

#include <cstdint>

#include "gfx/graphics.h"

namespace kav {

// Gives the surface the shape of its non-key pixels. Returns True (-1) or False (0).
int16_t ShapeSurface(Control& surface, int32_t& key);

// Shapes every sprite surface, the logo and the menu button, and fills the helicopter record.
void ShapeSprites(GfxState& g, Screen& screen);

}  // namespace kav
