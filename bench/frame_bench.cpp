#include <benchmark/benchmark.h>

#include <cstring>

#include "bench_game.h"
#include "game/game.h"
#include "game/startup.h"
#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

// The yardstick: one plain copy of a whole 800 x 600 frame.
void BM_PlainFrameCopy(benchmark::State& state) {
  const Surface src(kScreenWidth, kScreenHeight, 0x123456);
  Surface dst(kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    Blit(dst, 0, 0, kScreenWidth, kScreenHeight, src, 0, 0);
    benchmark::DoNotOptimize(dst.Pixels().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainFrameCopy);

// One composited frame of the started game with every sprite, both strips and the menu button
// on screen, and the message window over them when asked.
void ComposeSpritesFrame(benchmark::State& state, bool messageWindow) {
  BenchGame started("compose");
  Game& g = started.game();
  Screen& s = g.screen;
  int i = 0;
  for (Pic id :
       {AnimePatten(kHeliPic), AnimePatten(kSmallBurstPic), AnimePatten(kLargeBurstPic), AnimePatten(kBulletPic),
        AnimePatten(kCulpritPic), AnimePatten(kHostagePic), AnimePatten(kLadderPic), AnimePatten(kBoatPic),
        AnimePatten(kMarkerPic), AnimePatten(kFinalePic), Pic::TekiTama, Pic::TekiMen, Pic::Picture1}) {
    s[id].Visible = true;
    s[id].Move(40 + 55 * i, 100 + 20 * i);
    ++i;
  }
  s[Pic::Picture4].Visible = messageWindow;
  s[Pic::Picture4].Move(88, 112);
  Surface frame(kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    s.Compose(frame);
    benchmark::DoNotOptimize(frame.Pixels().data());
    benchmark::ClobberMemory();
  }
}

void BM_ComposeFrameAllSprites(benchmark::State& state) {
  ComposeSpritesFrame(state, true);
}
BENCHMARK(BM_ComposeFrameAllSprites);

// The same in flight: no message window hides a sprite or the backdrop.
void BM_ComposeFrameAllSpritesInFlight(benchmark::State& state) {
  ComposeSpritesFrame(state, false);
}
BENCHMARK(BM_ComposeFrameAllSpritesInFlight);

}  // namespace
}  // namespace kav
