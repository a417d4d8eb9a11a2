#include <benchmark/benchmark.h>

#include "bench_game.h"
#include "game/game.h"
#include "game/hosts.h"
#include "stages/collisions.h"
#include "stages/flight.h"

namespace kav {
namespace {

// The per-frame cost of flight and collisions: one FlyStep and one CheckHeliContacts over
// the generated scene, held Right through open sky, the keys taken the way a run takes them.
void BM_FlyStepAndContacts(benchmark::State& state) {
  BenchGame bench("flight");
  Game& g = bench.game();
  const Surface& back = g.screen[Pic::picBack].Image;
  g.CrashColours[0] = ColourKey(back.Pixel(400, 300));
  g.CrashColours[1] = ColourKey(back.Pixel(600, 200));
  g.PadColour = ColourKey(back.Pixel(600, 110));
  g.CurrentStage = 1;
  StageHost host = Stages(g);
  for (auto _ : state) {
    // The open sky of the sniping gap, so that every frame reads all seven points.
    g.Heli.X = 440;
    g.Heli.Y = 200;
    g.HeliVX = 0.5;
    g.HeliVY = 0.3;
    g.PrevControls = CtlRight;
    FlyStep(host, CtlRight);
    benchmark::DoNotOptimize(CheckHeliContacts(host));
  }
}
BENCHMARK(BM_FlyStepAndContacts)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace kav
