// Writes the title fade as one strip of frames, as the player sees it: the cover at some of its
// levels, with the logo over it once it shows. Usage: fade_strip PROGRAM_DIR OUTPUT_PNG
#include <cstdio>
#include <optional>
#include <string>

#include "base/png_io.h"
#include "gfx/art_files.h"
#include "gfx/palette_fade.h"

namespace {

std::optional<kav::Surface> Load(const std::string& path) {
  std::optional<kav::PngImage> png = kav::ReadPng(path);
  if (!png) return std::nullopt;
  kav::Surface s(png->width, png->height);
  s.MutablePixels() = std::move(png->pixels);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_DIR OUTPUT_PNG\n", argv[0]);
    return 2;
  }
  const std::string data = std::string(argv[1]) + "/" + kav::art::kDataDir;
  std::optional<kav::Surface> backdrop = Load(data + kav::art::kBackdrop);
  std::optional<kav::Surface> logo = Load(data + kav::art::kTitleLogo);
  if (!backdrop || !logo) {
    std::fprintf(stderr, "cannot read the pictures under %s\n", data.c_str());
    return 1;
  }
  kav::GfxState g;
  kav::FadePicture picture;
  kav::BuildFadeTable(g, picture, *backdrop, 800, 600, 20);

  // Fading out, then back in with the logo shown.
  struct Frame {
    int level;
    bool logo;
  };
  constexpr Frame kFrames[] = {{20, false}, {14, false}, {8, false}, {2, false}, {2, true}, {10, true}, {20, true}};
  constexpr int kScale = 4;
  const int w = 800 / kScale;
  const int h = 600 / kScale;
  const int count = static_cast<int>(std::size(kFrames));
  kav::Surface strip(count * w + (count - 1) * 4, h, 0x202020);
  kav::Surface frame(800, 600);
  for (int i = 0; i < count; ++i) {
    kav::DrawFadeLevel(g, picture, frame, 800, 600, kFrames[i].level, kav::Trace());
    if (kFrames[i].logo) {
      const uint32_t key = logo->Pixel(0, 0);
      const int lx = 400 - logo->Width() / 2;
      const int ly = 300 - logo->Height() / 2;
      for (int y = 0; y < logo->Height(); ++y) {
        for (int x = 0; x < logo->Width(); ++x) {
          if (logo->Pixel(x, y) != key) frame.SetPixel(lx + x, ly + y, logo->Pixel(x, y));
        }
      }
    }
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) strip.SetPixel(i * (w + 4) + x, y, frame.Pixel(x * kScale, y * kScale));
    }
  }
  if (!kav::WritePng(argv[2], strip.Width(), strip.Height(), strip.Pixels().data())) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
