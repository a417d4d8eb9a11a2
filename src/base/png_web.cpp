// PNG files under WebAssembly, where there is no libpng: the JavaScript side decodes them (zlib
// under Node; in the browser, pictures the page decoded before the game started).
#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/png_io.h"

extern "C" {
// Pixels as 0x00RRGGBB in a malloc'd block, or null; the size goes to width and height.
uint32_t* kav_png_decode(const char* path, const uint8_t* data, size_t size, int* width, int* height);
// The encoded file in a malloc'd block, or null; its length goes to size.
uint8_t* kav_png_encode(int width, int height, const uint32_t* pixels, size_t* size);
}

namespace kav {
namespace {

std::optional<PngImage> Decoded(const char* path, const uint8_t* data, size_t size) {
  int width = 0;
  int height = 0;
  uint32_t* pixels = kav_png_decode(path, data, size, &width, &height);
  if (pixels == nullptr) return std::nullopt;
  PngImage image;
  if (width > 0 && height > 0 && width <= kMaxPngSide && height <= kMaxPngSide) {
    image.width = width;
    image.height = height;
    image.pixels.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
  }
  std::free(pixels);
  if (image.pixels.empty()) return std::nullopt;
  return image;
}

}  // namespace

std::optional<PngImage> ReadPng(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Decoded(path.c_str(), bytes.data(), bytes.size());
}

std::optional<PngImage> ReadPngFromMemory(const uint8_t* data, size_t size) {
  return Decoded("", data, size);
}

bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels) {
  if (width <= 0 || height <= 0) return false;
  size_t size = 0;
  uint8_t* encoded = kav_png_encode(width, height, pixels, &size);
  if (encoded == nullptr) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(encoded), static_cast<std::streamsize>(size));
  std::free(encoded);
  out.close();
  return static_cast<bool>(out);
}

}  // namespace kav
