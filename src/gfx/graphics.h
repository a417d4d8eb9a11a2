#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "gfx/screen.h"
#include "platform/platform.h"

namespace kav {

// The helicopter sprite record.
struct HeliRecord {
  std::array<Control*, 10> Pics{};  // picAnimePatten(0..9)
  float Frame = 0;
  int32_t FirstPic = 0;
  int32_t LastPic = 0;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// The screen's slice of the game's state register.
struct GfxState {
  HeliRecord Heli;
  std::array<std::string, 5> GlyphRows;
  WindowRect SavedWindowRect;
  uint32_t RandomSeed = 0x50000;  // the generator's start value before any seeding
};

// The characters of the message window's five glyph rows, all full-width.
extern const std::array<const char*, 5> kGlyphRows;

// Sets each of left, top, width, height that is not -1, in that order.
void MoveControl(Control& surface, int32_t left, int32_t top, int32_t width, int32_t height);

// White where the source has the colour of its pixel (1, 1), black elsewhere.
void MakeMask(Surface& dest, const Surface& src, int32_t width, int32_t height);

// Seeds the generator from a number the way the game's runtime did.
void SeedRandom(GfxState& g, double seed);
// The next value in [0, 1), single precision like the runtime's.
float NextRandom(GfxState& g);
// A whole number from 1 to n; n = 0 gives 1.
int32_t RandomInt(GfxState& g, int32_t n);

void SetUpGraphics(GfxState& g, Screen& screen, Platform& platform);

}  // namespace kav
