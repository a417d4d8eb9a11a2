#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "base/game_exit.h"
#include "game/game.h"
#include "game/startup.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "recording/recording_file.h"
#include "recording/session_recorder.h"

namespace kav::recording {
namespace {

struct Stop {};

// A minute of the game on the headless platform, played by a script as a player would: the
// name typed, dialogs answered, briefings started with Space, climbs in flight; with
// `recorded`, on the recording sides, as the real game runs on them over SDL. The difference
// between the two is what recording costs; counted per frame period of the minute played.
void PlayMinute(benchmark::State& state, bool recorded) {
  constexpr int64_t kMinuteMs = 60000;
  int64_t periods = 0;
  size_t journalBytes = 0;
  size_t fileBytes = 0;
  const std::string dir = std::string(KAVRONA_PROGRAM_DIR);
  for (auto _ : state) {
    state.PauseTiming();
    char pattern[] = "/tmp/kav_recording_bench_XXXXXX";
    const std::string recordDir = mkdtemp(pattern);
    state.ResumeTiming();
    HeadlessPlatform platform(dir);
    HeadlessAudio audio;
    NoJoystick pad;
    std::unique_ptr<SessionRecorder> recorder;
    if (recorded) recorder = std::make_unique<SessionRecorder>(Platform(platform), audio, pad, recordDir, true);
    Game g(recorder ? recorder->Sides() : Platform(platform));
    g.audio = recorder ? &recorder->audio() : static_cast<Audio*>(&audio);
    g.joystick = recorder ? &recorder->joystick() : static_cast<Joystick*>(&pad);
    if (recorder) recorder->Attach(g, nullptr);
    platform.onSleep = [&g, nextAt = int64_t{0}](HeadlessPlatform& p) mutable {
      if (p.Now() >= kMinuteMs) throw Stop{};
      if (g.dialog.visible && p.Now() >= nextAt) {
        p.QueueEvent(PlatformEvent::Key(kVkReturn));
        nextAt = p.Now() + 20;
      }
      p.SetKey(kVkSpace, p.Now() % 3000 < 100);
      p.SetKey(kVkDown, g.ClockRunning != kFalse && p.Now() % 1000 < 420);
    };
    try {
      Main(g);
    } catch (const Stop&) {
    } catch (const GameExit&) {
    }
    periods += kMinuteMs / 16;
    state.PauseTiming();
    if (recorder) {
      journalBytes = recorder->JournalBytes();
      fileBytes = EncodeRecording(recorder->Snapshot()).size();
    }
    std::filesystem::remove_all(recordDir);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(periods);
  state.counters["journal_bytes_a_minute"] = static_cast<double>(journalBytes);
  state.counters["file_bytes_a_minute"] = static_cast<double>(fileBytes);
}

void BM_MinutePlayed(benchmark::State& state) {
  PlayMinute(state, false);
}
BENCHMARK(BM_MinutePlayed)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_MinutePlayedAndRecorded(benchmark::State& state) {
  PlayMinute(state, true);
}
BENCHMARK(BM_MinutePlayedAndRecorded)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The golden session played by keys under Xvfb: its start-up, a stage-1 clear, a failure.
const Recording& GoldenSession() {
  static const Recording r = [] {
    Recording out;
    std::string error;
    if (!ReadRecordingFile(
            std::string(KAVRONA_SOURCE_DIR) + "/tests/fixtures/recordings/stage1_clear_then_hard_landing.kvr", out,
            error)) {
      throw std::runtime_error(error);
    }
    return out;
  }();
  return r;
}

// Keeping a best run: ten minutes of that play packed into a file, as at a new best time.
void BM_KeepTenMinutes(benchmark::State& state) {
  const Recording& r = GoldenSession();
  Recording tenMinutes = r;
  tenMinutes.journal.clear();
  while (tenMinutes.journal.size() < r.journal.size() * 27) tenMinutes.journal += r.journal;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string file = EncodeRecording(tenMinutes);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_KeepTenMinutes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kav::recording
