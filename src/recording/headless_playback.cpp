#include "recording/headless_playback.h"

#include <iostream>
#include <memory>

#include "base/trace_file.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "platform/ttf_fonts.h"
#include "recording/playback_session.h"

namespace kav::recording {

int PlayHeadless(const std::string& recordingPath, const std::string& dir, const std::string& tracePath) {
  PlaybackSession session;
  std::string error;
  if (!session.Load(recordingPath, error)) {
    std::cerr << "kavrona-headless: " << recordingPath << ": " << error << '\n';
    return kStatusBadRecording;
  }
  std::unique_ptr<TraceFile> trace;
  if (!tracePath.empty()) {
    trace = std::make_unique<TraceFile>(tracePath, [&session] { return session.Elapsed(); });
    if (!trace->IsOpen()) {
      std::cerr << "kavrona-headless: cannot write the trace " << tracePath << '\n';
      return kStatusBadRecording;
    }
  }
  std::string fontError;
  std::unique_ptr<Fonts> fonts = OpenFonts(fontError);
  if (!fonts) {
    std::cerr << fontError << '\n';
    return 1;
  }
  HeadlessPlatform out(dir);
  HeadlessAudio audio;
  PlaybackSession::Devices devices;
  devices.fonts = fonts.get();
  devices.textInput = &out.textInput;
  devices.trace = trace.get();
  const Header& h = session.header();
  std::cout << "recording: format " << h.formatVersion << ", Kavrona " << h.gameVersion << ", date "
            << (h.date.empty() ? "unseen" : h.date) << ", pad " << h.padKind << ", texts " << h.language << ", "
            << (h.recordFile ? "with a record file" : "no record file") << '\n';
  const int status = session.Play(Platform(out), audio, devices);
  std::cout << session.ResultsText();
  if (status == kStatusDeparted) {
    std::cerr << "kavrona-headless: " << recordingPath << ": " << session.message() << '\n';
  } else if (status != 0) {
    std::cerr << "kavrona-headless: " << session.message() << '\n';
  } else {
    std::cout << "in step with the recording\n";
  }
  return status;
}

}  // namespace kav::recording
