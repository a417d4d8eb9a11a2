#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kav {

// Pixels are 0x00RRGGBB; the top byte is always zero.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
// What a pixel read outside a surface answers, like the window system's invalid colour.
constexpr uint32_t kInvalidPixel = 0xFFFFFFFF;

// The raster operations the game draws with.
enum class Rop {
  Copy,        // dst = src
  And,         // dst = src AND dst
  Or,          // dst = src OR dst
  MergePaint,  // dst = (NOT src) OR dst
};

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, uint32_t fill = kBlack);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // kInvalidPixel outside the surface.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t colour);
  void Fill(uint32_t colour);
  void FillRect(int x, int y, int w, int h, uint32_t colour);
  // Keeps the top-left content that still fits; new area takes the fill colour.
  void Resize(int width, int height, uint32_t fill);

  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  uint32_t* Row(int y) {
    Touch();
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  std::vector<uint32_t>& MutablePixels() {
    Touch();
    return pixels_;
  }

  // A value no other state of any surface has had, so a compositor can tell whether the
  // picture changed, also when a surface is replaced by another.
  uint64_t Version() const { return version_; }

 private:
  void Touch();

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  uint64_t version_ = NextVersion();
  static uint64_t NextVersion();
};

// Copies a w x h rectangle from src at (sx, sy) onto dst at (dx, dy) with the given operation,
// clipped to both surfaces.
void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop = Rop::Copy);

// The colour as the window system's 0x00BBGGRR value, which the game's colour keys are written in.
constexpr uint32_t ToColorRef(uint32_t rgb) {
  return rgb == kInvalidPixel ? kInvalidPixel : ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

}  // namespace kav
