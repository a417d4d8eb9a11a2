#include "recording/playback_session.h"

#include <stdlib.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "base/game_exit.h"
#include "game/startup.h"
#include "platform/file_places.h"
#include "recording/state_check.h"

namespace kav::recording {
namespace {

std::string Seconds(int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld s", static_cast<long long>(ms / 1000),
                static_cast<long long>(ms % 1000));
  return text;
}

std::string EntryName(int i) {
  if (i >= kTotalRecordBase) return "total, rank " + std::to_string(i - kTotalRecordBase + 1);
  return "stage " + std::to_string(i / 3 + 1) + ", rank " + std::to_string(i % 3 + 1);
}

}  // namespace

void PlaybackResults::Write(const TraceEvent& event) {
  if (event.kind == "run") {
    runTotal_ = 0;
  } else if (event.kind == "stage") {
    before_ = TableCopy::Of(g_);
    armed_ = true;
  } else if (event.kind == "clear") {
    Clear c{g_.CurrentStage, 0, false, 0};
    for (const auto& [key, value] : event.fields) {
      if (key == "stage" && value.Is<int64_t>()) c.stage = static_cast<int32_t>(value.As<int64_t>());
      if (key == "time" && value.Is<int64_t>()) c.time = static_cast<int32_t>(value.As<int64_t>());
      if (key == "select" && value.Is<bool>()) c.select = value.As<bool>();
    }
    if (!c.select) runTotal_ += c.time;
    c.total = runTotal_;
    clears_.push_back(c);
  } else if (event.kind == "records" && armed_) {
    const TableCopy now = TableCopy::Of(g_);
    // In each group of three the first entry that changed is the one put in; the rest moved down.
    for (int group = 0; group <= kTotalRecordBase; group += 3) {
      for (int i = group; i < group + 3; ++i) {
        if (!now.SameEntry(before_, i)) {
          const auto k = static_cast<size_t>(i);
          entries_.push_back(EntryName(i) + ": " + now.names[k] + " " + Seconds(now.times[k]) + " " + now.dates[k]);
          break;
        }
      }
    }
    before_ = now;
  }
}

std::string PlaybackResults::Text() const {
  std::string s;
  for (const Clear& c : clears_) {
    s += "clear: stage " + std::to_string(c.stage) + " in " + Seconds(c.time);
    s += c.select ? " (chosen from the menu)\n" : ", total " + Seconds(c.total) + "\n";
  }
  if (clears_.empty()) s += "no stage cleared\n";
  for (const std::string& e : entries_) s += "best-time entry: " + e + "\n";
  return s;
}

PlaybackSession::~PlaybackSession() {
  if (!recordDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(recordDir_, ignored);
  }
}

bool PlaybackSession::Load(const std::string& path, std::string& error) {
  return ReadRecordingFile(path, recording_, error) && ValidateJournal(recording_.journal, error);
}

int PlaybackSession::Play(Platform out, Audio& outAudio, const Devices& devices) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kavrona_playback_XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    message_ = "cannot make a directory for the playback's record file";
    return 1;
  }
  recordDir_ = WithTrailingSlash(pattern);
  if (recording_.header.recordFile) {
    std::ofstream file(recordDir_ + kRecordFileName, std::ios::binary);
    file << *recording_.header.recordFile;
    if (!file.flush()) {
      message_ = "cannot write the playback's record file in " + recordDir_;
      return 1;
    }
  }

  sides_ = std::make_unique<PlaybackSides>(recording_.journal, out, outAudio, recordDir_);
  sides_->pacer = devices.pacer;
  Game game{Platform(*sides_)};
  game.texts = TextsOf(LanguageNamed(recording_.header.language).value_or(Language::kJapanese));
  game.fonts = devices.fonts;
  if (devices.textInput != nullptr) game.textInput = devices.textInput;
  game.audio = &sides_->audio();
  game.joystick = &sides_->joystick();
  sides_->where = [&game] {
    return "frame " + std::to_string(game.framesPlayed) + ", stage " + std::to_string(game.CurrentStage);
  };
  results_ = std::make_unique<PlaybackResults>(game);
  StageChecks checks(game,
                     [this](CheckPoint point, int32_t stage, uint64_t hash) { sides_->Check(point, stage, hash); });
  TraceTee tee;
  tee.Add(devices.trace);
  tee.Add(&checks);
  tee.Add(results_.get());
  game.trace = Trace(&tee);
  game.trace.Emit("start", [](TraceEvent& e) { e.Add("version", kTraceVersion); });

  try {
    try {
      Main(game);
    } catch (const GameExit& exit) {
      sides_->Ended(exit.status);
    }
  } catch (const PlaybackOver&) {
    return 0;
  } catch (const Desync& d) {
    message_ = d.message;
    return kStatusDeparted;
  } catch (const std::exception& e) {
    message_ = e.what();
    return 1;
  }
  return 0;
}

}  // namespace kav::recording
