#include "recording/playback_sides.h"

#include "base/ticks.h"

namespace kav::recording {

PlaybackSides::PlaybackSides(std::string_view journal, Platform out, Audio& outAudio, std::string recordDir)
    : reader_(journal), out_(out), recordDir_(std::move(recordDir)), audio_(*this, outAudio), joystick_(*this) {}

void PlaybackSides::Depart(const std::string& what) const {
  std::string at = where ? where() : std::string();
  throw Desync{"the playback departs from the recording" + (at.empty() ? std::string() : " at " + at) + " (entry " +
               std::to_string(reader_.Count()) + "): " + what};
}

const Entry& PlaybackSides::Take(Op op, std::optional<int64_t> number) {
  const std::string asked = What(op, number.value_or(0));
  if (!reader_.Next(entry_)) {
    Depart(reader_.Error().empty() ? "the game asks for " + asked + " after the recording's last entry"
                                   : "the journal is damaged, " + reader_.Error());
  }
  if (entry_.op == Op::kCut) throw PlaybackOver{};
  if (entry_.op == Op::kEnd) {
    Depart("the game asks for " + asked + " where the recording has the game end (status " +
           std::to_string(entry_.number) + ")");
  }
  if (entry_.op != op || (number && *number != entry_.number)) {
    Depart("the game asks for " + asked + " where the recording holds " + Describe(entry_));
  }
  return entry_;
}

void PlaybackSides::Check(CheckPoint point, int32_t stage, uint64_t hash) {
  static constexpr const char* kNames[] = {"", "set-up", "clock start", "clear", "failure"};
  const std::string here =
      std::string("the state check at stage ") + std::to_string(stage) + "'s " + kNames[static_cast<int>(point)];
  const Entry& e = Take(Op::kCheck);
  if (e.number != static_cast<int64_t>(point) || e.value != stage) {
    Depart("the game reaches " + here + " where the recording has stage " + std::to_string(e.value) + "'s " +
           kNames[e.number]);
  }
  if (e.hash != hash) Depart("the game's state differs from the recording's at " + here);
}

void PlaybackSides::Ended(int status) {
  if (!reader_.Next(entry_)) Depart("the game ends, but the recording does not say so");
  if (entry_.op == Op::kCut) return;
  if (entry_.op != Op::kEnd) Depart("the game ends where the recording holds " + Describe(entry_));
  if (entry_.number != status) {
    Depart("the game ends with status " + std::to_string(status) + ", the recording with " +
           std::to_string(entry_.number));
  }
}

void PlaybackSides::Reach(int32_t ticks) {
  if (!sawTicks_) {
    sawTicks_ = true;
    firstTicks_ = ticks;
  }
  lastTicks_ = ticks;
  if (pacer != nullptr) pacer->Reached(Elapsed());
}

int32_t PlaybackSides::Ticks() {
  const int32_t ticks = Take(Op::kTicks).ticks;
  Reach(ticks);
  return ticks;
}

void PlaybackSides::Sleep(int32_t ms) {
  Reach(Take(Op::kSleep, ms).ticks);
  if (pacer != nullptr) pacer->Idle();
}

void PlaybackSides::LocalDate(int& month, int& day) {
  const Entry& e = Take(Op::kLocalDate);
  month = e.month;
  day = e.day;
}

double PlaybackSides::SecondsSinceMidnight() {
  return Take(Op::kSecondsSinceMidnight).seconds;
}

std::vector<PlatformEvent> PlaybackSides::PollEvents() {
  return Take(Op::kPollEvents).events;
}

void PlaybackSides::WaitForEvent(int32_t timeoutMs) {
  Reach(Take(Op::kWaitForEvent, timeoutMs).ticks);
  if (pacer != nullptr) pacer->Idle();
}

std::string PlaybackSides::ProgramDir() {
  Take(Op::kProgramDir);
  return out_.files.ProgramDir();
}

std::string PlaybackSides::RecordDir() {
  Take(Op::kRecordDir);
  return recordDir_;
}

bool PlaybackSides::PlayedAudio::Open() {
  const bool open = sides_.Take(Op::kAudioOpen).flag;
  if (open) out_.Open();
  return open;
}

bool PlaybackSides::PlayedAudio::Load(int slot, const std::string& path) {
  const bool loaded = sides_.Take(Op::kAudioLoad, slot).flag;
  if (loaded) out_.Load(slot, path);
  return loaded;
}

}  // namespace kav::recording
