#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/trace.h"
#include "gfx/graphics.h"
#include "gfx/surface.h"

namespace kav {

constexpr size_t kFadeInfoBytes = 1064;  // a 40-byte header and 256 palette entries

// The captured 8-bit picture: one index into the 6 x 6 x 6 colour cube per pixel. The levels'
// palettes are the game's FadeInfos.
struct FadePicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
};

// Builds FadeInfos 0..levels and captures src's top-left width x height pixels in cube colours.
void BuildFadeTable(GfxState& g, FadePicture& picture, const Surface& src, int32_t width, int32_t height,
                    int32_t levels);
// Draws the captured picture at the level into dest; nothing for a level outside the table.
// Reports a "fade" event for every call.
void DrawFadeLevel(const GfxState& g, const FadePicture& picture, Surface& dest, int32_t width, int32_t height,
                   int32_t level, const Trace& trace);

// The cube index nearest to a colour: 36 * blue step + 6 * green step + red step.
uint8_t NearestCubeIndex(uint32_t rgb);

}  // namespace kav
