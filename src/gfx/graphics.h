#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/state_vars.h"
#include "gfx/screen.h"
#include "platform/platform.h"

namespace kav {

// The helicopter sprite record; the state lists its fields as Heli.X, Heli.Y, ...
#define KAV_HELI_FIELDS(VAR)                                                   \
  VAR(KAV_TYPE(std::array<Control*, 10>), Pics, {}) /* picAnimePatten(0..9) */ \
  VAR(float, Frame, 0)                                                         \
  VAR(int32_t, FirstPic, 0)                                                    \
  VAR(int32_t, LastPic, 0)                                                     \
  VAR(int32_t, X, 0)                                                           \
  VAR(int32_t, Y, 0)                                                           \
  VAR(int32_t, Width, 0)                                                       \
  VAR(int32_t, Height, 0)

struct HeliRecord {
  KAV_HELI_FIELDS(KAV_DECLARE_VAR)
  // The sprite of index i, which start-up has attached.
  Control& Pic(int i) const { return *Pics[static_cast<size_t>(i)]; }
};

template <class V>
void VisitFields(HeliRecord& s, V&& v) {
  KAV_HELI_FIELDS(KAV_VISIT_VAR)
}

// The screen's slice of the game's state register, each variable once.
#define KAV_GFX_STATE_VARS(VAR)                                                                \
  VAR(HeliRecord, Heli, {})                                                                    \
  VAR(KAV_TYPE(std::array<std::string, 5>), GlyphRows, {})                                     \
  VAR(WindowRect, SavedWindowRect, {})                                                         \
  VAR(uint32_t, RandomSeed, 0x50000) /* the generator's start value before any seeding */      \
  /* The title fade: one bitmap-info record (header and palette, 1064 bytes) per level, and */ \
  /* whether the captured 8-bit picture and its drawing context exist. */                      \
  VAR(std::vector<std::vector<uint8_t>>, FadeInfos, {})                                        \
  VAR(bool, FadeBits, false)                                                                   \
  VAR(bool, FadeBitmap, false)                                                                 \
  VAR(bool, FadeDC, false)                                                                     \
  VAR(bool, FadeOldBitmap, false)

struct GfxState {
  KAV_GFX_STATE_VARS(KAV_DECLARE_VAR)
};

// Every variable of the slice under its own name.
template <class V>
void VisitVars(GfxState& s, V&& v) {
  KAV_GFX_STATE_VARS(KAV_VISIT_VAR)
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
