#include "gfx/surface.h"

#include <algorithm>
#include <cstring>

namespace kav {

uint64_t Surface::NextVersion() {
  // One thread draws; a plain counter is enough.
  static uint64_t counter = 0;
  return ++counter;
}

void Surface::Touch() {
  version_ = NextVersion();
}

Surface::Surface(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), pixels_(static_cast<size_t>(width_) * height_, fill) {}

uint32_t Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidPixel;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Surface::SetPixel(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = colour & 0xFFFFFF;
  Touch();
}

void Surface::Fill(uint32_t colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour & 0xFFFFFF);
  Touch();
}

void Surface::FillRect(int x, int y, int w, int h, uint32_t colour) {
  const int x0 = std::max(x, 0);
  const int y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_);
  const int y1 = std::min(y + h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  for (int yy = y0; yy < y1; ++yy) {
    std::fill_n(pixels_.data() + static_cast<size_t>(yy) * width_ + x0, x1 - x0, colour & 0xFFFFFF);
  }
  Touch();
}

void Surface::Resize(int width, int height, uint32_t fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<uint32_t> next(static_cast<size_t>(width) * height, fill & 0xFFFFFF);
  const int keepW = std::min(width, width_);
  const int keepH = std::min(height, height_);
  // Nothing to keep when either size is empty (and memcpy must not see a null buffer then).
  for (int y = 0; keepW > 0 && y < keepH; ++y) {
    std::memcpy(next.data() + static_cast<size_t>(y) * width, pixels_.data() + static_cast<size_t>(y) * width_,
                static_cast<size_t>(keepW) * sizeof(uint32_t));
  }
  pixels_ = std::move(next);
  width_ = width;
  height_ = height;
  Touch();
}

namespace {

// A negative start on one surface drops that many pixels from the run and moves the other
// surface's start along with it.
void ClipLeading(int& start, int& otherStart, int& length) {
  if (start >= 0) return;
  length += start;
  otherStart -= start;
  start = 0;
}

}  // namespace

void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  // Clip against the source, then the destination, moving both origins together.
  ClipLeading(sx, dx, w);
  ClipLeading(sy, dy, h);
  ClipLeading(dx, sx, w);
  ClipLeading(dy, sy, h);
  w = std::min({w, src.Width() - sx, dst.Width() - dx});
  h = std::min({h, src.Height() - sy, dst.Height() - dy});
  if (w <= 0 || h <= 0) return;

  // A surface copied onto itself must read the source before it is overwritten.
  Surface copy;
  const Surface* from = &src;
  if (&src == &dst) {
    copy = src;
    from = &copy;
  }
  for (int y = 0; y < h; ++y) {
    const uint32_t* s = from->Row(sy + y) + sx;
    uint32_t* d = dst.Row(dy + y) + dx;
    switch (rop) {
      case Rop::Copy:
        std::memcpy(d, s, static_cast<size_t>(w) * sizeof(uint32_t));
        break;
      case Rop::And:
        for (int x = 0; x < w; ++x) d[x] &= s[x];
        break;
      case Rop::Or:
        for (int x = 0; x < w; ++x) d[x] |= s[x];
        break;
      case Rop::MergePaint:
        for (int x = 0; x < w; ++x) d[x] = (~s[x] | d[x]) & 0xFFFFFF;
        break;
    }
  }
}

}  // namespace kav
