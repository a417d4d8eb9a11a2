#include "records/records.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "records/atomic_file.h"
#include "records/shift_jis.h"

namespace kav {
namespace {

constexpr int kFileLines = kRecordCount + 3;
constexpr int kGroupSize = 3;
constexpr const char* kDefaultName = "ORVEL";

// A file the game wrote is under 2 KiB. Reading stops at this bound so that a huge or endless
// file cannot stall start-up; a line longer than kMaxLineBytes is treated as damage. Thirty lines
// of the longest accepted length still fit under the file bound, so anything we load we can also
// save and load again.
constexpr std::size_t kMaxFileBytes = 64 * 1024;
constexpr std::size_t kMaxLineBytes = 2048;
static_assert(kFileLines * (kMaxLineBytes + 2) < kMaxFileBytes);

// Opening without O_NONBLOCK would wait forever on a FIFO that nobody writes.
int OpenRegularFileForReading(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Reads at most `limit` bytes; `cutShort` tells whether the file went on beyond them.
std::optional<std::string> ReadHead(const std::string& path, std::size_t limit, bool& cutShort) {
  const int fd = OpenRegularFileForReading(path);
  if (fd < 0) return std::nullopt;
  std::string bytes(limit + 1, '\0');
  std::size_t used = 0;
  while (used < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  close(fd);
  cutShort = used > limit;
  bytes.resize(cutShort ? limit : used);
  return bytes;
}

// CR LF is what the game writes; LF alone and CR alone come from files edited elsewhere.
// A line still open where a cut-short read ends is incomplete and left out.
std::vector<std::string_view> SplitLines(std::string_view bytes, bool cutShort) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size() && lines.size() < kFileLines; ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (!cutShort && start < bytes.size() && lines.size() < kFileLines) {
    lines.push_back(bytes.substr(start));
  }
  return lines;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The game writes times with "####0": an optional "-" and decimal digits. Blanks around them
// are allowed, as the original's integer conversion ignored them; a "+", a decimal point, hex
// forms and digit grouping, which that conversion also took, are refused because the game never
// wrote them, so such a line is more likely damage than a record.
std::optional<int32_t> ParseRecordTime(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

// The original took the leading number of the line, rounded half to even, and 0 when the line
// did not start with one. We take an optional sign, digits and an optional fraction (".6" counts,
// as it did there) and ignore what follows. A value beyond 32 bits is not a flag the game ever
// wrote, so it counts as damage.
std::optional<int32_t> ParseLeadingNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t i = 0;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (i < text.size() && text[i] == '.' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') {
    const int firstDecimal = text[i + 1] - '0';
    bool restNonZero = false;
    for (std::size_t j = i + 2; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j) {
      restNonZero = restNonZero || text[j] != '0';
    }
    const bool roundUp = firstDecimal > 5 || (firstDecimal == 5 && (restNonZero || magnitude % 2 == 1));
    if (roundUp) ++magnitude;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(value);
}

// Everything but the numbers may hold Shift_JIS, so a line is decoded before it is split: a
// double-byte character's second byte can be the code of "@" or "\".
std::optional<std::string> DecodeLine(std::string_view raw) {
  if (raw.size() > kMaxLineBytes || raw.find('\0') != std::string_view::npos) return std::nullopt;
  return ShiftJisToUtf8(raw);
}

struct RecordEntry {
  std::string date;
  int32_t time = 0;
  std::string name;
};

// Dates run up to the first "@", the time up to the first "\", the name is the rest (so a name
// may hold "@"). Damage anywhere in the line rejects the whole entry: a time credited to the
// wrong holder would be worse than the default.
std::optional<RecordEntry> ParseRecordLine(std::string_view raw) {
  const std::optional<std::string> line = DecodeLine(raw);
  if (!line) return std::nullopt;
  const std::size_t at = line->find('@');
  const std::size_t backslash = line->find('\\');
  if (at == std::string::npos || backslash == std::string::npos || backslash < at) {
    return std::nullopt;
  }
  const std::optional<int32_t> time = ParseRecordTime(std::string_view(*line).substr(at + 1, backslash - at - 1));
  if (!time) return std::nullopt;
  return RecordEntry{line->substr(0, at), *time, line->substr(backslash + 1)};
}

std::optional<std::string> ParseSettingLine(std::string_view raw) {
  const std::optional<std::string> line = DecodeLine(raw);
  if (!line) return std::nullopt;
  return std::string(TrimBlanks(*line));
}

// A line break or NUL inside a value would shift every later line of the file.
std::string EncodeField(const std::string& text) {
  std::string safe = text;
  for (char& c : safe) {
    if (c == '\r' || c == '\n' || c == '\0') c = '?';
  }
  return Utf8ToShiftJisReplacing(safe);
}

// The numeric print form keeps a place for the sign: " 1 ", " 0 ", "-1 ".
std::string PrintNumber(int32_t value) {
  std::string text = value >= 0 ? " " : "";
  text += std::to_string(value);
  text += ' ';
  return text;
}

std::string RecordFileBytes(const RecordState& r) {
  std::string out;
  out.reserve(1024);
  for (int i = 0; i < kRecordCount; ++i) {
    out += EncodeField(r.RecordDates[i]);
    out += '@';
    out += std::to_string(r.RecordTimes[i]);
    out += '\\';
    out += EncodeField(r.RecordNames[i]);
    out += "\r\n";
  }
  out += EncodeField(r.SoundSwitch) + "\r\n";
  out += EncodeField(r.PlayerName) + "\r\n";
  out += PrintNumber(r.FullScreenOn) + "\r\n";
  return out;
}

// Without the converter every non-ASCII name and date would be written as "?", and the loader
// would already have replaced them with defaults, so a save would destroy the real file.
bool CanEncodeRecordFile() {
  if (ShiftJisConverterAvailable()) return true;
  static std::atomic<bool> told{false};
  if (!told.exchange(true)) {
    std::fprintf(stderr,
                 "Kavrona: cannot convert names to Shift_JIS (iconv CP932 missing); the record file is not saved\n");
  }
  return false;
}

}  // namespace

void SeedDefaultRecords(RecordState& r, const std::string& today) {
  for (int i = 0; i < kRecordCount; ++i) {
    const int rank = i % kGroupSize;
    r.RecordDates[i] = today;
    r.RecordTimes[i] = i < kTotalRecordBase ? 60000 + 10000 * rank : 250000 + 50000 * rank;
    r.RecordNames[i] = kDefaultName;
  }
}

bool InsertBestTime(RecordState& r, int32_t currentStage, int32_t timeMs, int16_t isTotal, const std::string& today,
                    const Trace& trace) {
  int base = -1;
  if (isTotal != 0) {
    base = kTotalRecordBase;
  } else if (currentStage >= 1 && currentStage <= 8) {
    base = currentStage * kGroupSize - kGroupSize;
  }
  // A stage outside 1..8 has no group; the original failed on the array index there.
  if (base >= 0) {
    for (int i = base; i < base + kGroupSize; ++i) {
      if (timeMs < r.RecordTimes[i]) {
        for (int j = base + kGroupSize - 1; j > i; --j) {
          r.RecordTimes[j] = r.RecordTimes[j - 1];
          r.RecordDates[j] = r.RecordDates[j - 1];
          r.RecordNames[j] = r.RecordNames[j - 1];
        }
        r.RecordTimes[i] = timeMs;
        r.RecordDates[i] = today;
        r.RecordNames[i] = r.PlayerName;
        break;
      }
    }
  }
  return SaveRecords(r, trace);
}

bool LoadRecords(RecordState& r) {
  try {
    bool cutShort = false;
    const std::optional<std::string> bytes = ReadHead(r.RecordFilePath, kMaxFileBytes, cutShort);
    if (!bytes) return false;
    const std::vector<std::string_view> lines = SplitLines(*bytes, cutShort);
    bool intact = lines.size() == kFileLines;

    for (std::size_t i = 0; i < kRecordCount && i < lines.size(); ++i) {
      if (std::optional<RecordEntry> entry = ParseRecordLine(lines[i])) {
        r.RecordDates[i] = std::move(entry->date);
        r.RecordTimes[i] = entry->time;
        r.RecordNames[i] = std::move(entry->name);
      } else {
        intact = false;
      }
    }
    if (lines.size() > kRecordCount) {
      if (std::optional<std::string> value = ParseSettingLine(lines[kRecordCount])) {
        r.SoundSwitch = std::move(*value);
      } else {
        intact = false;
      }
    }
    if (lines.size() > kRecordCount + 1) {
      // An empty name is never a name: the one held (the start-up default) stays.
      std::optional<std::string> value = ParseSettingLine(lines[kRecordCount + 1]);
      if (value && !value->empty()) {
        r.PlayerName = std::move(*value);
      } else {
        intact = false;
      }
    }
    if (lines.size() > kRecordCount + 2) {
      const std::optional<std::string> text = ParseSettingLine(lines[kRecordCount + 2]);
      const std::optional<int32_t> value = text ? ParseLeadingNumber(*text) : std::nullopt;
      if (value) {
        r.FullScreenOn = *value;
      } else {
        intact = false;
      }
    }
    return intact;
  } catch (...) {
    return false;
  }
}

bool SaveRecords(const RecordState& r, const Trace& trace) {
  bool ok = false;
  try {
    ok = CanEncodeRecordFile() && WriteFileAtomically(r.RecordFilePath, RecordFileBytes(r));
  } catch (...) {
    ok = false;
  }
  trace.Emit("records", [&](TraceEvent& e) { e.Add("ok", ok); });
  return ok;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::string trimmed = path;
  if (trimmed.back() == '/' || trimmed.back() == '\\') trimmed.pop_back();
  if (trimmed.empty()) return false;
  const int fd = OpenRegularFileForReading(trimmed);
  if (fd < 0) return false;
  close(fd);
  return true;
}

std::string FormatMonthDay(int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d", month, day);
  return text;
}

}  // namespace kav
