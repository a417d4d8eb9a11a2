#include <benchmark/benchmark.h>

#include "bench_game.h"
#include "game/game.h"
#include "game/startup.h"
#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

// Start-up on the headless platform: artwork loaded from disk, surfaces and sprite shapes
// built, the entry dialog answered, the title faded, the first frame presented.
void BM_HeadlessStartUp(benchmark::State& state) {
  for (auto _ : state) {
    BenchGame started("startup");
    benchmark::DoNotOptimize(started.game().Heli.Width);
  }
  state.SetLabel("ms per start-up");
}
BENCHMARK(BM_HeadlessStartUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kav
