#include <benchmark/benchmark.h>

#include "base/boolean.h"
#include "bench_game.h"
#include "game/game.h"
#include "game/hosts.h"
#include "game/stage_setup.h"
#include "gfx/message_window.h"

namespace kav {
namespace {

// One whole briefing typed at delay 0, as a skipped briefing is: every glyph drawn, the tick
// silenced per glyph, one refresh at the end.
void BM_TypeBriefingAtDelayZero(benchmark::State& state) {
  BenchGame bench("text");
  Game& g = bench.game();
  MessageHost host = Messages(g);
  for (auto _ : state) {
    std::array<std::string, 11> lines = BriefingLines(g, 1);
    int32_t delay = 0;
    TypeMessage(host, lines, kTrue, delay);
    benchmark::DoNotOptimize(g.screen[Pic::Picture4].Image.Pixels().data());
  }
  state.SetLabel("one briefing");
}
BENCHMARK(BM_TypeBriefingAtDelayZero)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kav
