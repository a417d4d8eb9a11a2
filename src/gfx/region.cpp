#include "gfx/region.h"

#include <algorithm>

namespace kav {

void Region::Union(const RegionRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  // The scan adds disjoint rows, so a union is an append; overlapping rectangles only cost
  // a pixel drawn twice.
  rects_.push_back(r);
}

bool Region::Contains(int x, int y) const {
  return std::any_of(rects_.begin(), rects_.end(),
                     [&](const RegionRect& r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; });
}

Region RegionFromColourKey(const Surface& surface, int32_t& key) {
  if (key == -1) key = static_cast<int32_t>(ToColorRef(surface.Pixel(0, 0)));
  const uint32_t wanted = static_cast<uint32_t>(key);
  const int maxX = surface.Width() - 1;
  const int maxY = surface.Height() - 1;
  auto isKey = [&](int x, int y) { return ToColorRef(surface.Pixel(x, y)) == wanted; };

  Region region;
  for (int y = 0; y <= maxY; ++y) {
    int x = 0;
    while (x <= maxX) {
      if (!isKey(x, y)) {
        const int x0 = x;
        while (x <= maxX && !isKey(x, y)) ++x;
        region.Union({x0, y, x, y + 1});
      }
      ++x;
    }
  }
  return region;
}

}  // namespace kav
