#include "platform/png_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace kav
