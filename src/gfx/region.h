#pragma once

#include <cstdint>
#include <vector>

#include "gfx/surface.h"

namespace kav {

// Right and bottom edges exclusive, relative to the surface's top-left corner.
struct RegionRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const RegionRect&) const = default;
};

// A set of pixels held as the union of rectangles.
class Region {
 public:
  void Union(const RegionRect& r);
  bool Contains(int x, int y) const;
  bool Empty() const { return rects_.empty(); }
  const std::vector<RegionRect>& Rects() const { return rects_; }

 private:
  std::vector<RegionRect> rects_;
};

// key: a 0x00BBGGRR colour; -1 takes the colour of pixel (0, 0) and writes it back.
Region RegionFromColourKey(const Surface& surface, int32_t& key);

}  // namespace kav
