#include "recording/journal.h"

#include <bit>
#include <cstring>
#include <limits>

namespace kav::recording {
namespace {

// Far beyond anything the game reads; a larger number is damage, not a longer session.
constexpr uint64_t kLongestString = 1 << 16;
constexpr uint64_t kMostEvents = 1 << 12;
constexpr uint64_t kMostItems = 64;

uint64_t ZigZag(int64_t n) {
  return (static_cast<uint64_t>(n) << 1) ^ static_cast<uint64_t>(n >> 63);
}
int64_t UnZigZag(uint64_t n) {
  return static_cast<int64_t>(n >> 1) ^ -static_cast<int64_t>(n & 1);
}

const char* EventName(PlatformEvent::Kind k) {
  switch (k) {
    case PlatformEvent::Kind::MouseDown:
      return "click";
    case PlatformEvent::Kind::CloseRequested:
      return "close";
    case PlatformEvent::Kind::FocusLost:
      return "focus lost";
    case PlatformEvent::Kind::FocusGained:
      return "focus gained";
    case PlatformEvent::Kind::KeyPressed:
      return "key press";
    case PlatformEvent::Kind::TextInput:
      return "text";
    case PlatformEvent::Kind::TextEditing:
      return "composition";
    case PlatformEvent::Kind::DialogClose:
      return "dialog close";
  }
  return "event";
}

}  // namespace

std::string What(Op op, int64_t number) {
  const std::string n = std::to_string(number);
  switch (op) {
    case Op::kTicks:
      return "the tick count";
    case Op::kSleep:
      return "a sleep of " + n + " ms";
    case Op::kWaitForEvent:
      return "a wait for events of " + n + " ms";
    case Op::kLocalDate:
      return "the date";
    case Op::kSecondsSinceMidnight:
      return "the time of day";
    case Op::kPollEvents:
      return "the window's events";
    case Op::kKeyDown:
      return "key " + n;
    case Op::kClosePending:
      return "whether a close waits";
    case Op::kIsFullScreen:
      return "whether the screen is full";
    case Op::kWindowRect:
      return "the window's rectangle";
    case Op::kDesktopRect:
      return "the desktop's rectangle";
    case Op::kProgramDir:
      return "the program's directory";
    case Op::kRecordDir:
      return "the record file's directory";
    case Op::kRecordDirWritable:
      return "whether the records can be kept";
    case Op::kInstanceLock:
      return "the one-copy lock";
    case Op::kAudioOpen:
      return "the audio device";
    case Op::kAudioLoad:
      return "loading sound slot " + n;
    case Op::kAudioLoaded:
      return "whether sound slot " + n + " is loaded";
    case Op::kAudioVolume:
      return "sound slot " + n + "'s volume";
    case Op::kPadOpen:
      return "opening the pad";
    case Op::kPadIsOpen:
      return "whether the pad is open";
    case Op::kPadRead:
      return "the pad's reading";
    case Op::kPadHasForce:
      return "whether the pad has force feedback";
    case Op::kPadEffects:
      return "the pad's effects";
    case Op::kPadTriggerButtons:
      return "the pad's trigger buttons";
    case Op::kPadStart:
      return "starting a pad effect";
    case Op::kPadStop:
      return "stopping a pad effect";
    case Op::kCheck:
      return "a state check";
    case Op::kEnd:
      return "the game's end (status " + n + ")";
    case Op::kCut:
      return "the recording's end";
  }
  return "entry " + std::to_string(static_cast<int>(op));
}

std::string Describe(const Entry& e) {
  std::string s = What(e.op, e.number);
  switch (e.op) {
    case Op::kTicks:
      return s + " (" + std::to_string(e.number) + ")";
    case Op::kKeyDown:
      return s + (e.flag ? " (down)" : " (up)");
    case Op::kPollEvents:
      s += " (" + std::to_string(e.events.size());
      for (const PlatformEvent& ev : e.events) s += std::string(", ") + EventName(ev.kind);
      return s + ")";
    default:
      return s;
  }
}

void JournalWriter::Unsigned(uint64_t n) {
  while (n >= 0x80) {
    Byte(static_cast<uint8_t>(n | 0x80));
    n >>= 7;
  }
  Byte(static_cast<uint8_t>(n));
}

void JournalWriter::Signed(int64_t n) {
  Unsigned(ZigZag(n));
}

void JournalWriter::String(std::string_view s) {
  Unsigned(s.size());
  bytes_.append(s);
}

void JournalWriter::Double(double d) {
  Unsigned(std::bit_cast<uint64_t>(d));
}

void JournalWriter::TickDelta(int32_t ticks) {
  // The counter wraps; the difference is taken the same way, so it stays small.
  Signed(static_cast<int32_t>(static_cast<uint32_t>(ticks) - static_cast<uint32_t>(lastTicks_)));
  lastTicks_ = ticks;
}

void JournalWriter::Ticks(int32_t ticks) {
  PutOp(Op::kTicks);
  TickDelta(ticks);
}

void JournalWriter::Wait(Op op, int32_t ms, int32_t ticksAfter) {
  PutOp(op);
  Signed(ms);
  TickDelta(ticksAfter);
}

void JournalWriter::Number(Op op, int64_t n) {
  PutOp(op);
  Signed(n);
}

void JournalWriter::Flag(Op op, bool answer) {
  PutOp(op);
  Byte(answer ? 1 : 0);
}

void JournalWriter::KeyDown(int vk, bool down) {
  PutOp(Op::kKeyDown);
  Signed(vk);
  Byte(down ? 1 : 0);
}

void JournalWriter::LocalDate(int month, int day) {
  PutOp(Op::kLocalDate);
  Signed(month);
  Signed(day);
}

void JournalWriter::Seconds(double seconds) {
  PutOp(Op::kSecondsSinceMidnight);
  Double(seconds);
}

void JournalWriter::Events(const std::vector<PlatformEvent>& events) {
  PutOp(Op::kPollEvents);
  Unsigned(events.size());
  for (const PlatformEvent& ev : events) {
    Byte(static_cast<uint8_t>(ev.kind));
    switch (ev.kind) {
      case PlatformEvent::Kind::MouseDown:
        Signed(ev.x);
        Signed(ev.y);
        break;
      case PlatformEvent::Kind::KeyPressed:
        Signed(ev.vk);
        Signed(ev.mods);
        break;
      case PlatformEvent::Kind::TextInput:
      case PlatformEvent::Kind::TextEditing:
        String(ev.text);
        break;
      default:
        break;
    }
  }
}

void JournalWriter::Rect(Op op, const WindowRect& r) {
  PutOp(op);
  Signed(r.Left);
  Signed(r.Top);
  Signed(r.Width);
  Signed(r.Height);
}

void JournalWriter::Text(Op op, std::string_view text) {
  PutOp(op);
  String(text);
}

void JournalWriter::SlotFlag(Op op, int slot, bool answer) {
  PutOp(op);
  Signed(slot);
  Byte(answer ? 1 : 0);
}

void JournalWriter::Volume(int slot, int32_t volume) {
  PutOp(Op::kAudioVolume);
  Signed(slot);
  Signed(volume);
}

void JournalWriter::PadRead(const JoystickState& s) {
  PutOp(Op::kPadRead);
  Signed(s.axisX);
  Signed(s.axisY);
  Byte(static_cast<uint8_t>((s.button1 ? 1 : 0) | (s.button2 ? 2 : 0) | (s.triggered ? 4 : 0)));
  if (s.triggered) {
    Double(s.triggered->strength);
    Signed(s.triggered->ms);
  }
}

void JournalWriter::PadEffects(const std::vector<ForceEffectInfo>& effects) {
  PutOp(Op::kPadEffects);
  Unsigned(effects.size());
  for (const ForceEffectInfo& e : effects) {
    String(e.name);
    String(e.guid);
  }
}

void JournalWriter::PadButtons(const std::vector<int32_t>& buttons) {
  PutOp(Op::kPadTriggerButtons);
  Unsigned(buttons.size());
  for (int32_t b : buttons) Signed(b);
}

void JournalWriter::PadStart(const ForcePlay& play) {
  PutOp(Op::kPadStart);
  Byte(play.accepted ? 1 : 0);
  Double(play.felt.strength);
  Signed(play.felt.ms);
}

void JournalWriter::Check(CheckPoint point, int32_t stage, uint64_t hash) {
  PutOp(Op::kCheck);
  Byte(static_cast<uint8_t>(point));
  Signed(stage);
  Unsigned(hash);
}

void JournalWriter::Put(const Entry& e) {
  switch (e.op) {
    case Op::kTicks:
      return Ticks(e.ticks);
    case Op::kSleep:
    case Op::kWaitForEvent:
      return Wait(e.op, static_cast<int32_t>(e.number), e.ticks);
    case Op::kEnd:
      return Number(e.op, e.number);
    case Op::kLocalDate:
      return LocalDate(e.month, e.day);
    case Op::kSecondsSinceMidnight:
      return Seconds(e.seconds);
    case Op::kPollEvents:
      return Events(e.events);
    case Op::kKeyDown:
      return KeyDown(static_cast<int>(e.number), e.flag);
    case Op::kWindowRect:
    case Op::kDesktopRect:
      return Rect(e.op, e.rect);
    case Op::kProgramDir:
    case Op::kRecordDir:
      return Text(e.op, e.text);
    case Op::kAudioLoad:
    case Op::kAudioLoaded:
      return SlotFlag(e.op, static_cast<int>(e.number), e.flag);
    case Op::kAudioVolume:
      return Volume(static_cast<int>(e.number), e.value);
    case Op::kPadRead:
      return PadRead(e.pad);
    case Op::kPadEffects:
      return PadEffects(e.effects);
    case Op::kPadTriggerButtons:
      return PadButtons(e.buttons);
    case Op::kPadStart:
      return PadStart(e.play);
    case Op::kCheck:
      return Check(static_cast<CheckPoint>(e.number), e.value, e.hash);
    case Op::kCut:
      return Cut();
    default:
      return Flag(e.op, e.flag);
  }
}

bool JournalReader::Fail(const std::string& what) {
  if (error_.empty()) error_ = what + " at byte " + std::to_string(pos_) + " of the journal";
  return false;
}

bool JournalReader::Byte(uint8_t& b) {
  if (pos_ >= bytes_.size()) return Fail("the journal ends inside an entry");
  b = static_cast<uint8_t>(bytes_[pos_++]);
  return true;
}

bool JournalReader::Unsigned(uint64_t& n) {
  n = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    uint8_t b = 0;
    if (!Byte(b)) return false;
    if (shift == 63 && b > 1) return Fail("a number too large");
    n |= static_cast<uint64_t>(b & 0x7f) << shift;
    if ((b & 0x80) == 0) return true;
  }
  return Fail("a number too long");
}

bool JournalReader::Signed(int64_t& n) {
  uint64_t u = 0;
  if (!Unsigned(u)) return false;
  n = UnZigZag(u);
  return true;
}

bool JournalReader::Int(int64_t& n, int64_t lo, int64_t hi) {
  if (!Signed(n)) return false;
  if (n < lo || n > hi) return Fail("a number out of its range (" + std::to_string(n) + ")");
  return true;
}

bool JournalReader::String(std::string& s) {
  uint64_t size = 0;
  if (!Unsigned(size)) return false;
  if (size > kLongestString) return Fail("a text too long");
  if (size > bytes_.size() - pos_) return Fail("the journal ends inside a text");
  s.assign(bytes_.substr(pos_, size));
  pos_ += size;
  return true;
}

bool JournalReader::Double(double& d) {
  uint64_t u = 0;
  if (!Unsigned(u)) return false;
  d = std::bit_cast<double>(u);
  return true;
}

bool JournalReader::Bool(bool& b) {
  uint8_t v = 0;
  if (!Byte(v)) return false;
  if (v > 1) return Fail("a yes/no answer that is neither");
  b = v == 1;
  return true;
}

bool JournalReader::TickDelta(int32_t& ticks) {
  int64_t d = 0;
  if (!Int(d, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())) return false;
  lastTicks_ = static_cast<int32_t>(static_cast<uint32_t>(lastTicks_) + static_cast<uint32_t>(d));
  ticks = lastTicks_;
  return true;
}

bool JournalReader::Event(PlatformEvent& ev) {
  uint8_t kind = 0;
  if (!Byte(kind)) return false;
  if (kind > static_cast<uint8_t>(PlatformEvent::Kind::DialogClose)) return Fail("an unknown kind of window event");
  ev = PlatformEvent{};
  ev.kind = static_cast<PlatformEvent::Kind>(kind);
  int64_t a = 0;
  int64_t b = 0;
  switch (ev.kind) {
    case PlatformEvent::Kind::MouseDown:
      if (!Int(a, INT32_MIN, INT32_MAX) || !Int(b, INT32_MIN, INT32_MAX)) return false;
      ev.x = static_cast<int>(a);
      ev.y = static_cast<int>(b);
      return true;
    case PlatformEvent::Kind::KeyPressed:
      if (!Int(a, 0, 255) || !Int(b, 0, kModShift | kModAlt)) return false;
      ev.vk = static_cast<int>(a);
      ev.mods = static_cast<int>(b);
      return true;
    case PlatformEvent::Kind::TextInput:
    case PlatformEvent::Kind::TextEditing:
      return String(ev.text);
    default:
      return true;
  }
}

bool JournalReader::Next(Entry& e) {
  if (!error_.empty() || pos_ >= bytes_.size()) return false;
  uint8_t op = 0;
  if (!Byte(op)) return false;
  if (op < 1 || op > kLastOp) return Fail("an unknown entry (" + std::to_string(op) + ")");
  e.op = static_cast<Op>(op);
  ++count_;
  constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
  int64_t a = 0;
  int64_t b = 0;
  uint64_t u = 0;
  uint8_t byte = 0;
  switch (e.op) {
    case Op::kTicks:
      if (!TickDelta(e.ticks)) return false;
      e.number = e.ticks;
      return true;
    case Op::kSleep:
    case Op::kWaitForEvent:
      return Int(e.number, kMin32, kMax32) && TickDelta(e.ticks);
    case Op::kEnd:
      return Int(e.number, kMin32, kMax32);
    case Op::kLocalDate:
      if (!Int(a, 1, 12) || !Int(b, 1, 31)) return false;
      e.month = static_cast<int>(a);
      e.day = static_cast<int>(b);
      return true;
    case Op::kSecondsSinceMidnight:
      return Double(e.seconds);
    case Op::kPollEvents:
      if (!Unsigned(u)) return false;
      if (u > kMostEvents) return Fail("too many window events at once");
      e.events.resize(u);
      for (PlatformEvent& ev : e.events) {
        if (!Event(ev)) return false;
      }
      return true;
    case Op::kKeyDown:
      return Int(e.number, 0, 255) && Bool(e.flag);
    case Op::kClosePending:
    case Op::kIsFullScreen:
    case Op::kRecordDirWritable:
    case Op::kInstanceLock:
    case Op::kAudioOpen:
    case Op::kPadOpen:
    case Op::kPadIsOpen:
    case Op::kPadHasForce:
    case Op::kPadStop:
      return Bool(e.flag);
    case Op::kWindowRect:
    case Op::kDesktopRect: {
      int64_t v[4] = {};
      for (int64_t& x : v) {
        if (!Int(x, kMin32, kMax32)) return false;
      }
      e.rect = WindowRect{static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[2]),
                          static_cast<int32_t>(v[3])};
      return true;
    }
    case Op::kProgramDir:
    case Op::kRecordDir:
      return String(e.text);
    case Op::kAudioLoad:
    case Op::kAudioLoaded:
      return Int(e.number, kMin32, kMax32) && Bool(e.flag);
    case Op::kAudioVolume:
      if (!Int(e.number, kMin32, kMax32) || !Int(a, kMin32, kMax32)) return false;
      e.value = static_cast<int32_t>(a);
      return true;
    case Op::kPadRead:
      if (!Int(a, kMin32, kMax32) || !Int(b, kMin32, kMax32) || !Byte(byte)) return false;
      if (byte > 7) return Fail("an unknown pad button");
      e.pad = JoystickState{};
      e.pad.axisX = static_cast<int32_t>(a);
      e.pad.axisY = static_cast<int32_t>(b);
      e.pad.button1 = (byte & 1) != 0;
      e.pad.button2 = (byte & 2) != 0;
      if ((byte & 4) != 0) {
        ForceFelt felt;
        if (!Double(felt.strength) || !Int(a, kMin32, kMax32)) return false;
        felt.ms = static_cast<int32_t>(a);
        e.pad.triggered = felt;
      }
      return true;
    case Op::kPadEffects:
      if (!Unsigned(u)) return false;
      if (u > kMostItems) return Fail("too many pad effects");
      e.effects.resize(u);
      for (ForceEffectInfo& info : e.effects) {
        if (!String(info.name) || !String(info.guid)) return false;
      }
      return true;
    case Op::kPadTriggerButtons:
      if (!Unsigned(u)) return false;
      if (u > kMostItems) return Fail("too many pad buttons");
      e.buttons.resize(u);
      for (int32_t& button : e.buttons) {
        if (!Int(a, kMin32, kMax32)) return false;
        button = static_cast<int32_t>(a);
      }
      return true;
    case Op::kPadStart:
      if (!Bool(e.play.accepted) || !Double(e.play.felt.strength) || !Int(a, kMin32, kMax32)) return false;
      e.play.felt.ms = static_cast<int32_t>(a);
      return true;
    case Op::kCheck:
      if (!Byte(byte) || !Int(a, kMin32, kMax32) || !Unsigned(e.hash)) return false;
      if (byte < 1 || byte > static_cast<uint8_t>(CheckPoint::kFailed)) return Fail("an unknown state check");
      e.number = byte;
      e.value = static_cast<int32_t>(a);
      return true;
    case Op::kCut:
      return true;
  }
  return Fail("an unknown entry");
}

bool ValidateJournal(std::string_view journal, std::string& error) {
  JournalReader reader(journal);
  Entry e;
  Op last = Op::kTicks;
  while (reader.Next(e)) {
    if ((e.op == Op::kEnd || e.op == Op::kCut) && !reader.AtEnd()) {
      error = "the recording is damaged (entries after its end)";
      return false;
    }
    last = e.op;
  }
  if (!reader.Error().empty()) {
    error = "the recording is damaged (" + reader.Error() + ")";
    return false;
  }
  if (last != Op::kEnd && last != Op::kCut) {
    error = "the recording is cut short (its journal has no end)";
    return false;
  }
  return true;
}

}  // namespace kav::recording
