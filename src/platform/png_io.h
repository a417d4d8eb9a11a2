#pragma once

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

// Returns nothing when the file is missing, unreadable or not a PNG.
std::optional<PngImage> ReadPng(const std::string& path);

// Writes an opaque 8-bit RGB PNG. Returns false on any failure.
bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels);

}  // namespace kav
