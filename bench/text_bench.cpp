#include <benchmark/benchmark.h>

#include "game/game.h"
#include "game/hosts.h"
#include "game/startup.h"
#include "gfx/message_window.h"
#include "platform/boolean.h"
#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

// One whole briefing typed at delay 0, as a skipped briefing is: every glyph drawn, the tick
// silenced per glyph, one refresh at the end.
void BM_TypeBriefingAtDelayZero(benchmark::State& state) {
  HeadlessPlatform platform(KAVRONA_PROGRAM_DIR);
  Game g(platform);
  StartUp(g);
  MessageHost host = Messages(g);
  for (auto _ : state) {
    std::array<std::string, 11> lines = {"&       KAVRONA 1",
                                         "",
                                         "$ﾊﾝﾆﾝｶﾞ ｺｳｿｳﾋﾞﾙﾆ ｼﾝﾆｭｳｼﾀ",
                                         "",
                                         "  ｼｷｭｳ ｾﾝﾀｰﾋﾞﾙｵｸｼﾞｮｳｶﾗ",
                                         "",
                                         "        ｶｸﾆﾝｾﾖ  ",
                                         "",
                                         "",
                                         "   /ﾍﾞｽﾄ&:/ 60.00 ORVEL"};
    int32_t delay = 0;
    TypeMessage(host, lines, kTrue, delay);
    benchmark::DoNotOptimize(g.screen[Pic::Picture4].Image.Pixels().data());
  }
  state.SetLabel("one briefing");
}
BENCHMARK(BM_TypeBriefingAtDelayZero)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kav
