#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/screen.h"
#include "platform/platform.h"

namespace kav {

// The helicopter sprite record.
struct HeliRecord {
  std::array<Control*, 10> Pics{};  // picAnimePatten(0..9)
  // The sprite of index i, which start-up has attached.
  Control& Pic(int i) const { return *Pics[static_cast<size_t>(i)]; }
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
  // The title fade: one bitmap-info record (header and palette, 1064 bytes) per level, and
  // whether the captured 8-bit picture and its drawing context exist.
  std::vector<std::vector<uint8_t>> FadeInfos;
  bool FadeBits = false;
  bool FadeBitmap = false;
  bool FadeDC = false;
  bool FadeOldBitmap = false;
};

// Every variable of the slice under its own name; a test counts the members.
template <class V>
void VisitVars(GfxState& s, V&& v) {
  v("Heli.Pics", s.Heli.Pics);
  v("Heli.Frame", s.Heli.Frame);
  v("Heli.FirstPic", s.Heli.FirstPic);
  v("Heli.LastPic", s.Heli.LastPic);
  v("Heli.X", s.Heli.X);
  v("Heli.Y", s.Heli.Y);
  v("Heli.Width", s.Heli.Width);
  v("Heli.Height", s.Heli.Height);
  v("GlyphRows", s.GlyphRows);
  v("SavedWindowRect", s.SavedWindowRect);
  v("RandomSeed", s.RandomSeed);
  v("FadeInfos", s.FadeInfos);
  v("FadeBits", s.FadeBits);
  v("FadeBitmap", s.FadeBitmap);
  v("FadeDC", s.FadeDC);
  v("FadeOldBitmap", s.FadeOldBitmap);
}

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

void SetUpGraphics(GfxState& g, Screen& screen, Platform platform);

}  // namespace kav
