#include "gfx/palette_fade.h"

#include <algorithm>
#include <cmath>

namespace kav {
namespace {

void PutLe32(std::vector<uint8_t>& r, size_t at, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (size_t k = 0; k < 4; ++k) r[at + k] = static_cast<uint8_t>(u >> (8 * k));
}

void PutLe16(std::vector<uint8_t>& r, size_t at, int v) {
  r[at] = static_cast<uint8_t>(v);
  r[at + 1] = static_cast<uint8_t>(v >> 8);
}

// The runtime's byte conversion: nearest, ties to even.
uint8_t CByte(double v) {
  return static_cast<uint8_t>(std::nearbyint(v));
}

uint8_t NearestStep(uint32_t component) {
  // Steps of 51; a component halfway between two steps cannot occur (51 is odd).
  return static_cast<uint8_t>((component + 25) / 51);
}

}  // namespace

uint8_t NearestCubeIndex(uint32_t rgb) {
  const uint8_t red = NearestStep((rgb >> 16) & 0xFF);
  const uint8_t green = NearestStep((rgb >> 8) & 0xFF);
  const uint8_t blue = NearestStep(rgb & 0xFF);
  return static_cast<uint8_t>(36 * blue + 6 * green + red);
}

void BuildFadeTable(GfxState& g, FadePicture& picture, const Surface& src, int32_t width, int32_t height,
                    int32_t levels) {
  const int n = std::max(levels, 0);
  g.FadeInfos.assign(static_cast<size_t>(n) + 1, std::vector<uint8_t>(kFadeInfoBytes, 0));
  for (int i = 0; i <= n; ++i) {
    std::vector<uint8_t>& record = g.FadeInfos[static_cast<size_t>(i)];
    PutLe32(record, 0, 40);
    PutLe32(record, 4, width);
    PutLe32(record, 8, height);
    PutLe16(record, 12, 1);
    PutLe16(record, 14, 8);
    size_t j = 0;
    for (int a = 0; a <= 255; a += 51) {
      for (int b = 0; b <= 255; b += 51) {
        for (int c = 0; c <= 255; c += 51) {
          // A x i / N in that order, as the game computes it; with no levels at all the one
          // palette is the plain cube.
          auto scaled = [&](int step) {
            return CByte(n > 0 ? static_cast<double>(step) * i / static_cast<double>(n) : step);
          };
          const uint8_t blue = scaled(a);
          const uint8_t green = scaled(b);
          const uint8_t red = scaled(c);
          const size_t at = 40 + 4 * j;
          record[at] = blue;
          record[at + 1] = green;
          record[at + 2] = red;
          ++j;
        }
      }
    }
  }
  g.FadeBitmap = true;
  g.FadeBits = true;
  g.FadeDC = true;
  g.FadeOldBitmap = true;

  picture.width = std::max(width, 0);
  picture.height = std::max(height, 0);
  picture.indices.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height), 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      // Outside the source the capture sees black.
      const uint32_t c = src.Pixel(x, y);
      picture.indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)] =
          c == kInvalidPixel ? 0 : NearestCubeIndex(c);
    }
  }
}

void DrawFadeLevel(const GfxState& g, const FadePicture& picture, Surface& dest, int32_t width, int32_t height,
                   int32_t level, const Trace& trace) {
  trace.Emit("fade", [&](TraceEvent& e) { e.Add("level", level); });
  if (level < 0 || level >= static_cast<int32_t>(g.FadeInfos.size())) return;
  const std::vector<uint8_t>& record = g.FadeInfos[static_cast<size_t>(level)];
  if (record.size() < kFadeInfoBytes) return;
  std::array<uint32_t, 256> palette{};
  for (size_t j = 0; j < palette.size(); ++j) {
    const uint8_t* entry = record.data() + 40 + 4 * j;  // blue, green, red, reserved
    palette[j] = (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
  }
  const int w = std::min({width, picture.width, dest.Width()});
  const int h = std::min({height, picture.height, dest.Height()});
  for (int y = 0; y < h; ++y) {
    const uint8_t* from = picture.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(picture.width);
    uint32_t* to = dest.Row(y);
    for (int x = 0; x < w; ++x) to[x] = palette[from[x]];
  }
}

}  // namespace kav
