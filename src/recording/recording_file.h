#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kav::recording {

// The format's version: raised whenever an entry or the header changes shape. A file of a
// higher version is refused, not guessed at.
// 2 added the language the session was played in; a file of 1 was played in Japanese.
constexpr uint32_t kFormatVersion = 2;

// What a recording says about itself besides the journal.
struct Header {
  uint32_t formatVersion = kFormatVersion;
  std::string gameVersion;  // "1.2.0"
  std::string date;         // "mm/dd", the first date the game saw; empty when it never asked
  // The record file as it was when the session began; none when there was none.
  std::optional<std::string> recordFile;
  std::string padKind;          // none, plain, rumble, haptic
  std::string language = "ja";  // ja, en: the texts shown, which set how long each one types
};

struct Recording {
  Header header;
  std::string journal;  // the entries' bytes (journal.h)
};

// The file: a signature, the header, the journal compressed, and a CRC-32 of all before it.
std::string EncodeRecording(const Recording& r);

// Reads a file's bytes. On failure returns false and says why in one sentence (not a recording
// of this game, a newer format, cut short, damaged). checkSum false skips only the CRC, so that
// a fuzzer reaches what lies behind it.
bool DecodeRecording(std::string_view bytes, Recording& out, std::string& error, bool checkSum = true);

// Reads a file from disk; a recording is refused above this size.
constexpr size_t kLargestFile = 64u << 20;
bool ReadRecordingFile(const std::string& path, Recording& out, std::string& error);

}  // namespace kav::recording
