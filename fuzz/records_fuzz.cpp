// Loads arbitrary bytes as a record file, saves what was loaded and loads that again: the loader
// must survive anything, and whatever it accepts must survive a save unchanged.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "records/records.h"

namespace {

struct Scratch {
  std::string dir;
  std::string input;
  std::string copy;

  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kav_records_fuzz_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) __builtin_trap();
    dir = pattern;
    input = dir + "/input.ini";
    copy = dir + "/Kavrona.ini";
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) __builtin_trap();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) __builtin_trap();
  if (std::fclose(file) != 0) __builtin_trap();
}

bool SameRecords(const kav::RecordState& a, const kav::RecordState& b) {
  return a.RecordDates == b.RecordDates && a.RecordTimes == b.RecordTimes && a.RecordNames == b.RecordNames &&
         a.SoundSwitch == b.SoundSwitch && a.PlayerName == b.PlayerName && a.FullScreenOn == b.FullScreenOn;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  WriteInput(scratch.input, data, size);

  kav::RecordState first;
  kav::SeedDefaultRecords(first, "04/22");
  first.PlayerName = "ORVEL";
  first.RecordFilePath = scratch.input;
  kav::LoadRecords(first);

  first.RecordFilePath = scratch.copy;
  if (!kav::SaveRecords(first, kav::Trace{})) __builtin_trap();

  // Different start values, so a value the second load failed to read cannot pass unnoticed.
  kav::RecordState second;
  kav::SeedDefaultRecords(second, "12/31");
  second.RecordTimes.fill(-7);
  second.SoundSwitch = "?";
  second.PlayerName = "?";
  second.FullScreenOn = 42;
  second.RecordFilePath = scratch.copy;
  if (!kav::LoadRecords(second)) __builtin_trap();
  if (!SameRecords(first, second)) __builtin_trap();
  return 0;
}
