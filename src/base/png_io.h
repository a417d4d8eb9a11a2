#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kav {

// Pixels are 0x00RRGGBB, row-major, top row first.
struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// The widest and tallest picture read. The game's largest is 800 x 600; a player may replace any
// picture, and a header claiming more is refused before anything is allocated for it.
inline constexpr int kMaxPngSide = 4096;

// Returns nothing when the file is missing, unreadable, not a PNG or larger than kMaxPngSide.
std::optional<PngImage> ReadPng(const std::string& path);
// The same from bytes in memory.
std::optional<PngImage> ReadPngFromMemory(const uint8_t* data, size_t size);

// Writes an opaque 8-bit RGB PNG. Returns false on any failure.
bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels);

}  // namespace kav
