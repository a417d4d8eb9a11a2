#pragma once

#include <memory>
#include <optional>
#include <string>

#include "game/game.h"
#include "recording/best_runs.h"
#include "recording/recording_file.h"
#include "recording/recording_sides.h"
#include "recording/state_check.h"

namespace kav::recording {

// A session of the real game, recorded as it is played: the game runs on the recording sides,
// the stage checks go into the journal, and each new best time keeps the recording so far in
// the data directory's replays/.
class SessionRecorder {
 public:
  SessionRecorder(Platform real, Audio& realAudio, Joystick& realJoystick);
  // With the data directory given (best runs go to its replays/ when it is writable) rather than
  // asked of the real side.
  SessionRecorder(Platform real, Audio& realAudio, Joystick& realJoystick, const std::string& recordDir,
                  bool recordDirWritable);

  Platform Sides() { return Platform(sides_); }
  Audio& audio() { return sides_.audio(); }
  Joystick& joystick() { return sides_.joystick(); }
  // Listens to the game; `also` (the trace file the player asked for, or null) hears every event
  // first.
  void Attach(Game& g, TraceSink* also);
  // The language the game's texts are shown in; a playback must show the same ones.
  void SetLanguage(Language language) { language_ = language; }
  // The game has ended with `status`; the session goes to `path` when one is given. False (with
  // the reason) when it could not be written.
  bool Finish(int status, const std::string& path, std::string& error);
  // The recording as it stands: the journal so far, ended by a cut.
  Recording Snapshot() const;
  size_t JournalBytes() const { return sides_.journal.Size(); }

 private:
  Language language_ = Language::kJapanese;
  void KeepBest(const std::vector<std::string>& fileNames);
  Header MakeHeader() const;

  RecordingSides sides_;
  std::optional<std::string> recordFileAtStart_;
  std::string recordDir_;
  bool recordDirWritable_ = false;
  TraceTee tee_;
  std::unique_ptr<StageChecks> checks_;
  std::unique_ptr<BestRuns> bestRuns_;
};

}  // namespace kav::recording
