#include <benchmark/benchmark.h>

#include <optional>

#include "base/png_io.h"
#include "gfx/art_files.h"
#include "gfx/palette_fade.h"

namespace kav {
namespace {

// One step of the title fade: the 800 x 600 cover drawn at one level.
void BM_DrawFadeLevel(benchmark::State& state) {
  Surface cover(800, 600);
  const std::optional<PngImage> backdrop =
      ReadPng(std::string(KAVRONA_PROGRAM_DIR) + "/" + art::kDataDir + art::kBackdrop);
  if (backdrop) cover.MutablePixels() = backdrop->pixels;
  GfxState g;
  FadePicture picture;
  BuildFadeTable(g, picture, cover, 800, 600, 20);
  int level = 1;
  for (auto _ : state) {
    DrawFadeLevel(g, picture, cover, 800, 600, level, Trace());
    level = level % 20 + 1;
    benchmark::DoNotOptimize(cover.Pixels().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawFadeLevel)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kav
