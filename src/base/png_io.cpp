#include "base/png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kav {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Twice the largest picture allowed stored without compression: a bigger file cannot be one.
constexpr long kMaxPngFileBytes = 2L * kMaxPngSide * kMaxPngSide * 8;

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->at) png_error(png, "truncated");
  std::memcpy(out, reader->data + reader->at, length);
  reader->at += length;
}

// A damaged picture is reported by its caller, by name; libpng's own messages would only be noise.
[[noreturn]] void Fail(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Every chunk up to IEND must lie whole in the bytes. libpng allocates a chunk's buffer from the
// length its header claims, before reading the data, so a tiny damaged file could otherwise
// claim gigabytes.
bool ChunksAreWhole(const uint8_t* data, size_t size) {
  size_t at = 8;
  while (size - at >= 12) {
    const uint32_t length =
        (uint32_t{data[at]} << 24) | (uint32_t{data[at + 1]} << 16) | (uint32_t{data[at + 2]} << 8) | data[at + 3];
    if (length > size - at - 12) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += 12 + size_t{length};
  }
  return false;
}

}  // namespace

std::optional<PngImage> ReadPngFromMemory(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0 || !ChunksAreWhole(data, size)) {
    return std::nullopt;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return std::nullopt;
  }
  // Declared before setjmp so that a longjmp out of libpng leaves them in a defined state.
  MemoryReader reader{data, size, 8};
  auto image = std::make_unique<PngImage>();
  std::vector<png_byte> row;
  // Pixels are kept as their rows arrive (pass by pass when interlaced), so a file that claims
  // more than it holds runs out of data before much is allocated for it.
  std::vector<uint32_t> decoded;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_set_sig_bytes(png, 8);
  // libpng checks these against the header, so an absurd size fails before any row is allocated.
  png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
  // Text, colour profiles and the like change nothing the game draws: skipped unread, they cost
  // no memory (tRNS is still read, and only ever dropped with the alpha).
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const bool interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
  if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 3) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }

  const int passes = interlaced ? 7 : 1;
  row.resize(static_cast<size_t>(width) * 3);
  for (int pass = 0; pass < passes; ++pass) {
    const png_uint_32 cols = interlaced ? PNG_PASS_COLS(width, pass) : width;
    const png_uint_32 rows = interlaced ? PNG_PASS_ROWS(height, pass) : height;
    if (cols == 0 || rows == 0) continue;  // libpng skips an empty pass too
    for (png_uint_32 y = 0; y < rows; ++y) {
      png_read_row(png, row.data(), nullptr);
      for (png_uint_32 x = 0; x < cols; ++x) {
        decoded.push_back((uint32_t{row[x * 3]} << 16) | (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3 + 2]);
      }
    }
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  if (!interlaced) {
    image->pixels = std::move(decoded);
    return std::move(*image);
  }
  image->pixels.resize(static_cast<size_t>(width) * height);
  size_t next = 0;
  for (int pass = 0; pass < passes; ++pass) {
    const png_uint_32 cols = PNG_PASS_COLS(width, pass);
    const png_uint_32 rows = PNG_PASS_ROWS(height, pass);
    if (cols == 0) continue;
    for (png_uint_32 y = 0; y < rows; ++y) {
      const size_t at = static_cast<size_t>(PNG_ROW_FROM_PASS_ROW(y, pass)) * width;
      for (png_uint_32 x = 0; x < cols; ++x) image->pixels[at + PNG_COL_FROM_PASS_COL(x, pass)] = decoded[next++];
    }
  }
  return std::move(*image);
}

std::optional<PngImage> ReadPng(const std::string& path) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return std::nullopt;
  const long size = std::ftell(file.get());
  if (size < 8 || size > kMaxPngFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
  return ReadPngFromMemory(bytes.data(), bytes.size());
}

bool WritePng(const std::string& path, int width, int height, const uint32_t* pixels) {
  if (width <= 0 || height <= 0 || pixels == nullptr) return false;
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* src = pixels + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<png_byte>(src[x] >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(src[x] >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

}  // namespace kav
