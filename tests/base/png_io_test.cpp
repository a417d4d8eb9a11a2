#include "base/png_io.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kav {
namespace {

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("kav_png_" + std::to_string(::getpid()) + "_" + name);
}

TEST(PngIo, RoundTripKeepsEveryPixel) {
  std::vector<uint32_t> pixels(7 * 5);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 0x030507) & 0xFFFFFF;
  const auto path = TempFile("round.png");
  ASSERT_TRUE(WritePng(path.string(), 7, 5, pixels.data()));
  const auto image = ReadPng(path.string());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 7);
  EXPECT_EQ(image->height, 5);
  EXPECT_EQ(image->pixels, pixels);
  std::filesystem::remove(path);
}

TEST(PngIo, MissingTruncatedAndForeignFilesAreRefused) {
  EXPECT_FALSE(ReadPng("/nonexistent/dir/none.png").has_value());
  const auto path = TempFile("bad.png");
  {
    std::ofstream out(path, std::ios::binary);
    out << "GIF89a not a png";
  }
  EXPECT_FALSE(ReadPng(path.string()).has_value());

  std::vector<uint32_t> pixels(64 * 64, 0x102030);
  ASSERT_TRUE(WritePng(path.string(), 64, 64, pixels.data()));
  const auto size = std::filesystem::file_size(path);
  std::filesystem::resize_file(path, size / 2);
  EXPECT_FALSE(ReadPng(path.string()).has_value());
  std::filesystem::remove(path);
}

TEST(PngIo, WriteFailsIntoMissingDirectory) {
  uint32_t px = 0;
  EXPECT_FALSE(WritePng("/nonexistent/dir/x.png", 1, 1, &px));
  EXPECT_FALSE(WritePng(TempFile("zero.png").string(), 0, 1, &px));
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> WrittenPng(int width, int height, uint32_t colour) {
  const std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, colour);
  const auto path = TempFile("written.png");
  EXPECT_TRUE(WritePng(path.string(), width, height, pixels.data()));
  std::vector<uint8_t> bytes = FileBytes(path);
  std::filesystem::remove(path);
  return bytes;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBig32(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v >> 24);
  at[1] = static_cast<uint8_t>(v >> 16);
  at[2] = static_cast<uint8_t>(v >> 8);
  at[3] = static_cast<uint8_t>(v);
}

// The header rewritten to claim another size, its checksum kept right so that only the size is wrong.
std::vector<uint8_t> ClaimingSize(std::vector<uint8_t> png, uint32_t width, uint32_t height) {
  // Signature (8), then IHDR: length (4), type (4), width, height, 5 more bytes, CRC.
  PutBig32(png.data() + 16, width);
  PutBig32(png.data() + 20, height);
  PutBig32(png.data() + 29, Crc32(png.data() + 12, 17));
  return png;
}

// Pictures in the forms WritePng never makes, through libpng's own writer into memory.
std::vector<uint8_t> EncodedBy(int width, int height, int depth, int colourType, bool interlaced,
                               const std::vector<uint8_t>& samples, const std::vector<png_color>& palette = {}) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write the test picture";
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, size_t length) {
        auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + length);
      },
      nullptr);
  png_set_IHDR(png, info, width, height, depth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  png_write_info(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(samples.data()) + y * rowBytes;
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

uint32_t Pattern(int x, int y) {
  return static_cast<uint32_t>((x * 37) & 0xFF) << 16 | static_cast<uint32_t>((y * 53) & 0xFF) << 8 |
         static_cast<uint32_t>((x * y) & 0xFF);
}

TEST(PngIo, InterlacedGreyPaletteAndSixteenBitPicturesComeOutAsRgb) {
  constexpr int kW = 13;
  constexpr int kH = 11;  // not multiples of 8, so every Adam7 pass is ragged
  std::vector<uint8_t> rgb;
  std::vector<uint8_t> rgba16;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const uint32_t p = Pattern(x, y);
      for (int shift : {16, 8, 0}) rgb.push_back(static_cast<uint8_t>(p >> shift));
      for (int shift : {16, 8, 0}) {
        rgba16.push_back(static_cast<uint8_t>(p >> shift));
        rgba16.push_back(0x5A);  // the low byte, dropped
      }
      rgba16.push_back(0x00);  // fully transparent, still read as its colour
      rgba16.push_back(0x00);
    }
  }
  std::vector<uint32_t> expected;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) expected.push_back(Pattern(x, y));
  }
  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "plain");
    const auto eight = EncodedBy(kW, kH, 8, PNG_COLOR_TYPE_RGB, interlaced, rgb);
    const auto sixteen = EncodedBy(kW, kH, 16, PNG_COLOR_TYPE_RGB_ALPHA, interlaced, rgba16);
    for (const auto* bytes : {&eight, &sixteen}) {
      const auto image = ReadPngFromMemory(bytes->data(), bytes->size());
      ASSERT_TRUE(image.has_value());
      EXPECT_EQ(image->width, kW);
      EXPECT_EQ(image->height, kH);
      EXPECT_EQ(image->pixels, expected);
    }
  }

  // Two-bit palette indices and one-bit grey, four and eight pixels to the byte.
  const std::vector<png_color> palette = {{10, 20, 30}, {200, 0, 0}, {0, 200, 0}, {1, 2, 3}};
  const auto indexed =
      EncodedBy(5, 2, 2, PNG_COLOR_TYPE_PALETTE, true, {0b00011011, 0b00000000, 0b11100100, 0b01000000}, palette);
  const auto image = ReadPngFromMemory(indexed.data(), indexed.size());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels, (std::vector<uint32_t>{0x0A141E, 0xC80000, 0x00C800, 0x010203, 0x0A141E, 0x010203, 0x00C800,
                                                  0xC80000, 0x0A141E, 0xC80000}));
  const auto grey = EncodedBy(10, 1, 1, PNG_COLOR_TYPE_GRAY, false, {0b10110000, 0b01000000});
  const auto greyImage = ReadPngFromMemory(grey.data(), grey.size());
  ASSERT_TRUE(greyImage.has_value());
  EXPECT_EQ(greyImage->pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0, 0, 0xFFFFFF}));
}

TEST(PngIo, PicturesLargerThanTheLimitAreRefused) {
  const auto widest = WrittenPng(kMaxPngSide, 1, 0x336699);
  const auto image = ReadPngFromMemory(widest.data(), widest.size());
  ASSERT_TRUE(image.has_value()) << "the limit itself is allowed";
  EXPECT_EQ(image->width, kMaxPngSide);

  const auto tooWide = WrittenPng(kMaxPngSide + 1, 1, 0x336699);
  EXPECT_FALSE(ReadPngFromMemory(tooWide.data(), tooWide.size()).has_value());
  const auto tooTall = WrittenPng(1, kMaxPngSide + 1, 0x336699);
  EXPECT_FALSE(ReadPngFromMemory(tooTall.data(), tooTall.size()).has_value());

  // A real header with a sound checksum, claiming far more than the file holds.
  const auto small = WrittenPng(2, 2, 0x102030);
  const auto huge = ClaimingSize(small, 100000, 100000);
  EXPECT_FALSE(ReadPngFromMemory(huge.data(), huge.size()).has_value());
  const auto path = TempFile("huge.png");
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(huge.data()), static_cast<std::streamsize>(huge.size()));
  }
  EXPECT_FALSE(ReadPng(path.string()).has_value());
  std::filesystem::remove(path);

  // Within the limit, but its data runs out after a row or two: refused, not padded out.
  const auto claimed = ClaimingSize(small, kMaxPngSide, kMaxPngSide);
  EXPECT_FALSE(ReadPngFromMemory(claimed.data(), claimed.size()).has_value());
}

// A chunk put in right after the header (signature 8 + IHDR 25 bytes), claiming `claimed` bytes.
std::vector<uint8_t> WithChunkAfterHeader(std::vector<uint8_t> png, const char* type, const std::vector<uint8_t>& body,
                                          uint32_t claimed) {
  std::vector<uint8_t> chunk(8);
  PutBig32(chunk.data(), claimed);
  std::copy(type, type + 4, chunk.begin() + 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  chunk.resize(chunk.size() + 4);
  PutBig32(chunk.data() + chunk.size() - 4, Crc32(chunk.data() + 4, chunk.size() - 8));
  png.insert(png.begin() + 33, chunk.begin(), chunk.end());
  return png;
}

TEST(PngIo, AncillaryChunksAreSkippedAndOneClaimingMoreThanTheFileIsRefused) {
  const auto plain = WrittenPng(3, 2, 0x405060);
  std::vector<uint8_t> text(200000, 'k');
  text[7] = 0;  // keyword "kkkkkkk", then the text
  const auto withText = WithChunkAfterHeader(plain, "tEXt", text, static_cast<uint32_t>(text.size()));
  const auto image = ReadPngFromMemory(withText.data(), withText.size());
  ASSERT_TRUE(image.has_value()) << "a large but whole text chunk changes nothing";
  EXPECT_EQ(image->pixels, std::vector<uint32_t>(6, 0x405060));
  const auto private_ = WithChunkAfterHeader(plain, "prVt", {1, 2, 3}, 3);
  EXPECT_TRUE(ReadPngFromMemory(private_.data(), private_.size()).has_value());

  const auto claiming = WithChunkAfterHeader(plain, "tEXt", {'a', 0, 'b'}, 0x7300001Au);
  EXPECT_FALSE(ReadPngFromMemory(claiming.data(), claiming.size()).has_value());
  const auto unknownCritical = WithChunkAfterHeader(plain, "CRIT", {1}, 1);
  EXPECT_FALSE(ReadPngFromMemory(unknownCritical.data(), unknownCritical.size()).has_value());

  // Found by the picture fuzzer: a text chunk claiming 1.9 GB in a 115-byte file made libpng
  // allocate all of it before finding the file short.
  const std::vector<uint8_t> found = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
      0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x05, 0x08, 0x06, 0x00, 0x00, 0x00, 0x89, 0x9a, 0xf4, 0x00, 0x73,
      0x00, 0x00, 0x1a, 0x74, 0x45, 0x58, 0x74, 0x43, 0x6f, 0x6d, 0x6d, 0x9b, 0x95, 0x74, 0x00, 0x64, 0x75,
      0x73, 0x6b, 0x20, 0x6f, 0x76, 0x65, 0x72, 0x20, 0x74, 0x68, 0x65, 0x24, 0x63, 0x69, 0x00, 0x00, 0x00,
      0x05, 0x04, 0x03, 0x00, 0x00, 0x00, 0x23, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x60, 0x38, 0x11,
      0xf5, 0x5f, 0xe5, 0x89, 0x50, 0x4e, 0x47, 0x0d, 0x1a, 0x0a, 0x00, 0x49, 0x44, 0x41, 0x54, 0x60, 0x30,
      0x09, 0x10, 0x60, 0x70, 0x65, 0x54, 0x00, 0x00, 0x00, 0x49, 0x44, 0xd4, 0x6b};
  EXPECT_FALSE(ReadPngFromMemory(found.data(), found.size()).has_value());

  // Whatever follows the end chunk is not part of the picture.
  std::vector<uint8_t> trailing = plain;
  trailing.insert(trailing.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'J', 'U', 'N', 'K'});
  EXPECT_TRUE(ReadPngFromMemory(trailing.data(), trailing.size()).has_value());
}

TEST(PngIo, TheFileAndMemoryReadersAgreeAndRefuseDamage) {
  std::vector<uint32_t> pixels(9 * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = Pattern(static_cast<int>(i % 9), static_cast<int>(i / 9));
  const auto path = TempFile("agree.png");
  ASSERT_TRUE(WritePng(path.string(), 9, 4, pixels.data()));
  std::vector<uint8_t> bytes = FileBytes(path);
  std::filesystem::remove(path);
  const auto image = ReadPngFromMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels, pixels);

  EXPECT_FALSE(ReadPngFromMemory(nullptr, 0).has_value());
  EXPECT_FALSE(ReadPngFromMemory(bytes.data(), 8).has_value()) << "the signature alone";
  for (size_t cut = 9; cut < bytes.size(); cut += 7) {
    EXPECT_FALSE(ReadPngFromMemory(bytes.data(), cut).has_value()) << "cut at " << cut;
  }
  bytes[28] ^= 0x01;  // the header's interlace byte: still a valid value, but its checksum no longer matches
  EXPECT_FALSE(ReadPngFromMemory(bytes.data(), bytes.size()).has_value());
}

}  // namespace
}  // namespace kav
