#pragma once

#include <cstdint>

// One dusk palette for the whole game. Colours are 0x00RRGGBB.
namespace kav::artgen::pal {

// The backdrop's collision colours. No other pixel of the backdrop may carry them.
inline constexpr uint32_t kSolidA = 0x3A3F5C;  // building walls, the ground band
inline constexpr uint32_t kSolidB = 0x2E3350;  // the tower
inline constexpr uint32_t kPad = 0x8A9098;     // roof landing pads

// Key colour of every sprite (its pixel (0, 0)); chosen to occur in no artwork.
inline constexpr uint32_t kSpriteKey = 0xFF00FF;

inline constexpr uint32_t kInk = 0x10121C;  // outlines
inline constexpr uint32_t kSkyTop = 0x1B1E3D;
inline constexpr uint32_t kSkyMid = 0x5A3F6E;
inline constexpr uint32_t kSkyLow = 0xD9785A;
inline constexpr uint32_t kSkyHorizon = 0xF2B36B;
inline constexpr uint32_t kWindowLit = 0xF6D47A;
inline constexpr uint32_t kWindowDim = 0x6B5E4A;
inline constexpr uint32_t kWater = 0x1E3F66;
inline constexpr uint32_t kWaterLight = 0x3F6F9A;
inline constexpr uint32_t kRed = 0xD8333A;
inline constexpr uint32_t kRedDark = 0x8A1E2B;
inline constexpr uint32_t kOrange = 0xF08A2C;
inline constexpr uint32_t kYellow = 0xF8E060;
inline constexpr uint32_t kGreen = 0x3CC060;
inline constexpr uint32_t kGreenDark = 0x1E6E3A;
inline constexpr uint32_t kSteel = 0xA8B4C4;
inline constexpr uint32_t kSteelDark = 0x5C6678;
inline constexpr uint32_t kWhite = 0xF4F4F0;
inline constexpr uint32_t kSkin = 0xE8B890;
inline constexpr uint32_t kGold = 0xE8B030;

}  // namespace kav::artgen::pal
