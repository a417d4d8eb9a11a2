#include "sdl_watch.h"

#include <SDL.h>

#include <cstdio>
#include <memory>

#include "base/ticks.h"
#include "base/trace_file.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/ttf_fonts.h"
#include "recording/playback_session.h"

namespace kav {
namespace {

// Holds the game back until the real clock has caught up with the recorded one; meanwhile the
// frame shows and the window is looked at for a close, the only input a watcher gives.
class WatchPacer final : public recording::Pacer {
 public:
  explicit WatchPacer(SdlPlatform& platform) : platform_(platform) {}

  void Reached(int64_t elapsedMs) override {
    if (!started_) {
      started_ = true;
      startMs_ = SDL_GetTicks64();
    }
    const auto realMs = static_cast<int64_t>(SDL_GetTicks64() - startMs_);
    if (elapsedMs > realMs) {
      LookForClose();
      platform_.clock.Sleep(static_cast<int32_t>(elapsedMs - realMs));
    }
  }
  void Idle() override {
    platform_.display.ShowPending();
    LookForClose();
  }

 private:
  void LookForClose() {
    for (const PlatformEvent& e : platform_.input.PollEvents()) {
      if (e.kind == PlatformEvent::Kind::CloseRequested) throw recording::PlaybackOver{true};
    }
  }

  SdlPlatform& platform_;
  bool started_ = false;
  uint64_t startMs_ = 0;
};

}  // namespace

int WatchRecording(const std::string& recordingPath, const std::string& tracePath) {
  recording::PlaybackSession session;
  std::string error;
  if (!session.Load(recordingPath, error)) {
    std::fprintf(stderr, "kavrona: %s: %s\n", recordingPath.c_str(), error.c_str());
    return recording::kStatusBadRecording;
  }
  SdlPlatform platform;
  std::unique_ptr<TraceFile> trace;
  if (!tracePath.empty()) {
    const int32_t start = platform.clock.Ticks();
    trace =
        std::make_unique<TraceFile>(tracePath, [&platform, start] { return TickDiff(platform.clock.Ticks(), start); });
    if (!trace->IsOpen()) {
      std::fprintf(stderr, "kavrona: cannot write the trace to %s\n", tracePath.c_str());
      return recording::kStatusBadRecording;
    }
  }
  std::string fontError;
  std::unique_ptr<Fonts> fonts = OpenFonts(fontError);
  if (!fonts) {
    platform.messages.ShowFatalMessage("Kavrona", fontError);
    return 1;
  }
  SdlAudio audio;
  RecordingTextInput textInput;  // the recording's text arrives as events; no input method opens
  platform.display.SetPresentAtWait(true);
  platform.clock.SetIdleTask([&platform] {
    platform.display.ShowPending();
    return false;
  });
  WatchPacer pacer(platform);
  recording::PlaybackSession::Devices devices;
  devices.fonts = fonts.get();
  devices.textInput = &textInput;
  devices.pacer = &pacer;
  devices.trace = trace.get();
  const int status = session.Play(platform.Sides(), audio, devices);
  std::fputs(session.ResultsText().c_str(), stdout);
  if (status != 0) std::fprintf(stderr, "kavrona: %s: %s\n", recordingPath.c_str(), session.message().c_str());
  return status;
}

}  // namespace kav
