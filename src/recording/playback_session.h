#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/trace.h"
#include "game/game.h"
#include "platform/fonts.h"
#include "platform/text_input.h"
#include "recording/best_runs.h"
#include "recording/playback_sides.h"
#include "recording/recording_file.h"

namespace kav::recording {

// Exit statuses of a playback besides 0 (in step).
constexpr int kStatusBadRecording = 2;
constexpr int kStatusDeparted = 6;

// What a played recording achieved: its clears, the run's total, and the entries it made in
// the best-time table.
class PlaybackResults final : public TraceSink {
 public:
  explicit PlaybackResults(const GameState& g) : g_(g) {}
  void Write(const TraceEvent& event) override;
  std::string Text() const;

 private:
  struct Clear {
    int32_t stage;
    int32_t time;
    bool select;
    int64_t total;
  };
  const GameState& g_;
  std::vector<Clear> clears_;
  int64_t runTotal_ = 0;
  bool armed_ = false;
  TableCopy before_;
  std::vector<std::string> entries_;
};

// One recording played back on a platform: the game's answers from the journal, its picture and
// sound to `out`. The record file is a copy from the header in a directory of its own, removed
// at the end; nothing of the player's is read or written.
class PlaybackSession {
 public:
  PlaybackSession() = default;
  ~PlaybackSession();
  PlaybackSession(const PlaybackSession&) = delete;
  PlaybackSession& operator=(const PlaybackSession&) = delete;

  // Reads and checks the whole file; false with one sentence for a bad one (status 2).
  bool Load(const std::string& path, std::string& error);
  const Header& header() const { return recording_.header; }

  struct Devices {
    Fonts* fonts = nullptr;
    TextInput* textInput = nullptr;
    Pacer* pacer = nullptr;
    TraceSink* trace = nullptr;  // the trace file asked for, or null
  };
  // Plays the recording to its end. 0 when it stayed in step (or the watcher closed the
  // window), 6 when it departed (message() says where), 1 when the game failed.
  int Play(Platform out, Audio& outAudio, const Devices& devices);
  const std::string& message() const { return message_; }
  std::string ResultsText() const { return results_ ? results_->Text() : std::string(); }
  // Milliseconds of the recording played so far, for the trace's t.
  int32_t Elapsed() const { return sides_ ? sides_->Elapsed() : 0; }

 private:
  Recording recording_;
  std::string recordDir_;
  std::unique_ptr<PlaybackSides> sides_;
  std::unique_ptr<PlaybackResults> results_;
  std::string message_;
};

}  // namespace kav::recording
