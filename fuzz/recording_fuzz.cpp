// Feeds arbitrary bytes to the recording reader three ways: as a file (the checksum turns most
// away), as a file whose checksum is not looked at (so the header, the unpacking and the journal
// are reached), and as a journal sealed into a file of its own. Anything is either taken or
// refused with a reason; a journal sealed and read back must come out whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recording/journal.h"
#include "recording/recording_file.h"

namespace {

using kav::recording::Recording;

void ReadWhole(std::string_view bytes, bool checkSum) {
  Recording r;
  std::string error;
  if (!kav::recording::DecodeRecording(bytes, r, error, checkSum)) {
    if (error.empty()) __builtin_trap();
    return;
  }
  if (!kav::recording::ValidateJournal(r.journal, error) && error.empty()) __builtin_trap();
}

void WalkJournal(std::string_view journal) {
  kav::recording::JournalReader reader(journal);
  kav::recording::Entry e;
  while (reader.Next(e)) {
    (void)kav::recording::Describe(e);
  }
  // Stopped either at the very end or with a reason.
  if (reader.Error().empty() != reader.AtEnd()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReadWhole(bytes, true);
  ReadWhole(bytes, false);
  WalkJournal(bytes);

  Recording sealed;
  sealed.header.gameVersion = "1.2.0";
  sealed.header.date = "04/22";
  if (size > 0 && (data[0] & 1) != 0) sealed.header.recordFile = std::string(bytes.substr(0, size / 2));
  sealed.header.padKind = "plain";
  sealed.journal = std::string(bytes);
  Recording back;
  std::string error;
  if (!kav::recording::DecodeRecording(kav::recording::EncodeRecording(sealed), back, error)) __builtin_trap();
  if (back.journal != sealed.journal || back.header.recordFile != sealed.header.recordFile ||
      back.header.date != sealed.header.date || back.header.padKind != sealed.header.padKind) {
    __builtin_trap();
  }
  return 0;
}
