#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display.h"
#include "platform/input.h"
#include "platform/joystick.h"

namespace kav::recording {

// One kind of thing the game reads from outside (or a check of its state). The numbers are the
// file's: a number, once given, keeps its meaning within a format version.
enum class Op : uint8_t {
  kTicks = 1,     // the tick count, as a difference from the last one
  kSleep,         // a sleep's length, where a departing game first shows, and when it really ended
  kWaitForEvent,  // the same for a wait for window events
  kLocalDate,
  kSecondsSinceMidnight,
  kPollEvents,
  kKeyDown,
  kClosePending,
  kIsFullScreen,
  kWindowRect,
  kDesktopRect,
  kProgramDir,
  kRecordDir,
  kRecordDirWritable,
  kInstanceLock,
  kAudioOpen,
  kAudioLoad,
  kAudioLoaded,
  kAudioVolume,
  kPadOpen,
  kPadIsOpen,
  kPadRead,
  kPadHasForce,
  kPadEffects,
  kPadTriggerButtons,
  kPadStart,
  kPadStop,
  kCheck,  // the state register's hash at a stage's start or end
  kEnd,    // the game ended through its shutdown, with this status
  kCut,    // the journal stops here though the game went on (a best run kept mid-session)
};
constexpr int kLastOp = static_cast<int>(Op::kCut);

// Where a state check was taken: the trace event that marks a stage's start or end.
enum class CheckPoint : uint8_t { kStageSetUp = 1, kClockStarted, kCleared, kFailed };

// One entry; only the fields its op uses are meaningful.
struct Entry {
  Op op = Op::kEnd;
  int64_t number = 0;  // ticks, ms, a key, a slot, a status, a stage
  bool flag = false;   // the answer of a yes/no question
  int32_t value = 0;   // a volume; a state check's stage
  int32_t ticks = 0;   // the tick count after a sleep or wait, for a watched playback's pace
  int month = 0;
  int day = 0;
  double seconds = 0;
  uint64_t hash = 0;
  std::string text;
  WindowRect rect;
  JoystickState pad;
  ForcePlay play;
  std::vector<PlatformEvent> events;
  std::vector<ForceEffectInfo> effects;
  std::vector<int32_t> buttons;
};

// For messages: what the game asks for ("key 37"), and an entry with its answer ("key 37 (up)").
std::string What(Op op, int64_t number);
std::string Describe(const Entry& e);

// Appends entries as bytes: an op byte and its fields, integers as variable-length numbers.
class JournalWriter {
 public:
  void Ticks(int32_t ticks);
  void Number(Op op, int64_t n);  // kEnd
  // kSleep, kWaitForEvent: the length asked for and the tick count once it was over.
  void Wait(Op op, int32_t ms, int32_t ticksAfter);
  void Flag(Op op, bool answer);  // the yes/no questions without an argument
  void KeyDown(int vk, bool down);
  void LocalDate(int month, int day);
  void Seconds(double seconds);
  void Events(const std::vector<PlatformEvent>& events);
  void Rect(Op op, const WindowRect& r);
  void Text(Op op, std::string_view text);
  void SlotFlag(Op op, int slot, bool answer);  // kAudioLoad, kAudioLoaded
  void Volume(int slot, int32_t volume);
  void PadRead(const JoystickState& s);
  void PadEffects(const std::vector<ForceEffectInfo>& effects);
  void PadButtons(const std::vector<int32_t>& buttons);
  void PadStart(const ForcePlay& play);
  void Check(CheckPoint point, int32_t stage, uint64_t hash);
  void Cut() { Byte(static_cast<uint8_t>(Op::kCut)); }
  // Any entry as read back (a tool that edits a journal writes it again with this).
  void Put(const Entry& e);

  const std::string& Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }

 private:
  void Byte(uint8_t b) { bytes_.push_back(static_cast<char>(b)); }
  void TickDelta(int32_t ticks);
  void PutOp(Op op) { Byte(static_cast<uint8_t>(op)); }
  void Unsigned(uint64_t n);
  void Signed(int64_t n);
  void String(std::string_view s);
  void Double(double d);
  std::string bytes_;
  int32_t lastTicks_ = 0;
};

// Reads the entries back, one at a time; a malformed byte sequence is an error with its offset.
class JournalReader {
 public:
  explicit JournalReader(std::string_view bytes) : bytes_(bytes) {}
  // False at the end of the bytes (AtEnd) or on an error (Error() says what).
  bool Next(Entry& e);
  bool AtEnd() const { return pos_ >= bytes_.size() && error_.empty(); }
  const std::string& Error() const { return error_; }
  size_t Offset() const { return pos_; }
  // Entries read so far.
  int64_t Count() const { return count_; }

 private:
  bool Fail(const std::string& what);
  bool Byte(uint8_t& b);
  bool Unsigned(uint64_t& n);
  bool Signed(int64_t& n);
  bool Int(int64_t& n, int64_t lo, int64_t hi);
  bool String(std::string& s);
  bool Double(double& d);
  bool Bool(bool& b);
  bool Event(PlatformEvent& ev);
  bool TickDelta(int32_t& ticks);

  std::string_view bytes_;
  size_t pos_ = 0;
  std::string error_;
  int64_t count_ = 0;
  int32_t lastTicks_ = 0;
};

// Checks a journal from end to end: every entry well formed, and an end or a cut last. False with
// one sentence otherwise.
bool ValidateJournal(std::string_view journal, std::string& error);

}  // namespace kav::recording
