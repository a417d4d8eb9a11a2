// Reads arbitrary bytes as a picture: any bytes give a picture within the size limit or none at
// all, and a picture read survives a write and a read from its file unchanged.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/png_io.h"

namespace {

struct Scratch {
  std::string dir;
  std::string file;

  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kav_png_fuzz_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) __builtin_trap();
    dir = pattern;
    file = dir + "/picture.png";
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// Mutations almost never keep a chunk's checksum right, and libpng stops at the first bad one;
// repaired, they reach the header and pixel handling behind it.
void RepairChunkCrcs(std::vector<uint8_t>& bytes) {
  size_t at = 8;
  while (bytes.size() - at >= 12) {
    const uint32_t length =
        (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
    if (length > bytes.size() - at - 12) return;
    const uint32_t crc = Crc32(bytes.data() + at + 4, length + 4);
    uint8_t* out = bytes.data() + at + 8 + length;
    out[0] = static_cast<uint8_t>(crc >> 24);
    out[1] = static_cast<uint8_t>(crc >> 16);
    out[2] = static_cast<uint8_t>(crc >> 8);
    out[3] = static_cast<uint8_t>(crc);
    at += 12 + size_t{length};
  }
}

void Check(const uint8_t* data, size_t size) {
  static Scratch scratch;
  const std::optional<kav::PngImage> image = kav::ReadPngFromMemory(data, size);
  if (!image) return;
  if (image->width < 1 || image->height < 1 || image->width > kav::kMaxPngSide || image->height > kav::kMaxPngSide) {
    __builtin_trap();
  }
  if (image->pixels.size() != static_cast<size_t>(image->width) * static_cast<size_t>(image->height)) __builtin_trap();
  for (const uint32_t p : image->pixels) {
    if ((p >> 24) != 0) __builtin_trap();
  }
  if (!kav::WritePng(scratch.file, image->width, image->height, image->pixels.data())) __builtin_trap();
  const std::optional<kav::PngImage> again = kav::ReadPng(scratch.file);
  if (!again || again->width != image->width || again->height != image->height || again->pixels != image->pixels) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(data, size);
  if (size > 8) {
    std::vector<uint8_t> repaired(data, data + size);
    RepairChunkCrcs(repaired);
    Check(repaired.data(), repaired.size());
  }
  return 0;
}
