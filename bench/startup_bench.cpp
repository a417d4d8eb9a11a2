#include <benchmark/benchmark.h>

#include "game/game.h"
#include "game/startup.h"
#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

// Start-up on the headless platform: artwork loaded from disk, surfaces and sprite shapes
// built, the first frame presented.
void BM_HeadlessStartUp(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessPlatform platform(KAVRONA_PROGRAM_DIR);
    Game g(platform);
    StartUp(g);
    benchmark::DoNotOptimize(g.Heli.Width);
  }
  state.SetLabel("ms per start-up");
}
BENCHMARK(BM_HeadlessStartUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kav
