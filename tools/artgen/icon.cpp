#include <algorithm>
#include <stdexcept>

#include "art.h"
#include "palette.h"

namespace kav::artgen {
namespace {

constexpr int kMasterSize = 64;
// A patch of the night sky with the tower's roof corner, behind the helicopter.
constexpr int kSkyLeft = 520;
constexpr int kSkyTop = 62;

Surface Master() {
  const Surface backdrop = MakeBackdrop();
  const Surface heli = MakeHeli();
  Surface icon(kMasterSize, kMasterSize);
  for (int y = 0; y < kMasterSize; ++y) {
    for (int x = 0; x < kMasterSize; ++x) icon.SetPixel(x, y, backdrop.Pixel(kSkyLeft + x, kSkyTop + y));
  }
  const int left = (kMasterSize - heli.Width()) / 2;
  const int top = 16;
  for (int y = 0; y < heli.Height(); ++y) {
    for (int x = 0; x < heli.Width(); ++x) {
      const uint32_t p = heli.Pixel(x, y);
      if (p != pal::kSpriteKey) icon.SetPixel(left + x, top + y, p);
    }
  }
  // A dark rim keeps the square readable on a light panel.
  for (int i = 0; i < kMasterSize; ++i) {
    icon.SetPixel(i, 0, pal::kInk);
    icon.SetPixel(i, kMasterSize - 1, pal::kInk);
    icon.SetPixel(0, i, pal::kInk);
    icon.SetPixel(kMasterSize - 1, i, pal::kInk);
  }
  return icon;
}

// Each output pixel is the mean of the source pixels it covers, in fractions where it
// covers part of one: a small icon stays a picture of the big one, not a sample of it.
Surface AreaScale(const Surface& src, int size) {
  Surface out(size, size);
  const double step = static_cast<double>(src.Width()) / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double sum[3] = {0, 0, 0};
      double area = 0;
      const double x0 = x * step, x1 = (x + 1) * step, y0 = y * step, y1 = (y + 1) * step;
      for (int sy = static_cast<int>(y0); sy < y1 && sy < src.Height(); ++sy) {
        const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
        for (int sx = static_cast<int>(x0); sx < x1 && sx < src.Width(); ++sx) {
          const double w = wy * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
          const uint32_t p = src.Pixel(sx, sy);
          for (int c = 0; c < 3; ++c) sum[c] += w * ((p >> (16 - 8 * c)) & 0xFF);
          area += w;
        }
      }
      uint32_t p = 0;
      for (int c = 0; c < 3; ++c) {
        const int v = std::clamp(static_cast<int>(sum[c] / area + 0.5), 0, 255);
        p |= static_cast<uint32_t>(v) << (16 - 8 * c);
      }
      out.SetPixel(x, y, p);
    }
  }
  return out;
}

}  // namespace

Surface MakeAppIcon(int size) {
  if (size <= 0) throw std::invalid_argument("icon size must be positive");
  const Surface master = Master();
  if (size % kMasterSize != 0) return AreaScale(master, size);
  // Whole multiples keep the pixel art's blocks.
  const int k = size / kMasterSize;
  Surface out(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) out.SetPixel(x, y, master.Pixel(x / k, y / k));
  }
  return out;
}

}  // namespace kav::artgen
