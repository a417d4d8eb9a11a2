#include "records/records.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/atomic_file.h"
#include "records/shift_jis.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// What the game writes for a table seeded on 04/22 with the default settings.
std::string DefaultFile() {
  std::string text;
  for (int stage = 1; stage <= 8; ++stage) {
    text += "04/22@60000\\ORVEL\r\n04/22@70000\\ORVEL\r\n04/22@80000\\ORVEL\r\n";
  }
  text += "04/22@250000\\ORVEL\r\n04/22@300000\\ORVEL\r\n04/22@350000\\ORVEL\r\n";
  text += "ON\r\nORVEL\r\n 0 \r\n";
  return text;
}

// Thirty lines as the original program writes them, each record distinct, so a test can spoil
// one line and see exactly which values survive.
std::vector<std::string> OriginalLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < kRecordCount; ++i) {
    lines.push_back("03/" + std::to_string(10 + i) + "@" + std::to_string(40000 + i) + "\\P" + std::to_string(i));
  }
  lines.push_back("OFF");
  lines.push_back("ACE");
  lines.push_back(" 1 ");
  return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

class RecordsTest : public ::testing::Test {
 protected:
  RecordsTest() {
    SeedDefaultRecords(state_, "04/22");
    state_.PlayerName = "ORVEL";
    state_.RecordFilePath = path_;
  }

  // Loads `bytes` into a freshly seeded state.
  RecordState LoadBytes(const std::string& bytes, bool* intact = nullptr) {
    WriteBytes(path_, bytes);
    RecordState loaded = state_;
    const bool ok = LoadRecords(loaded);
    if (intact != nullptr) *intact = ok;
    return loaded;
  }

  void ExpectEntryFromFile(const RecordState& r, int i) {
    EXPECT_EQ(r.RecordDates[i], "03/" + std::to_string(10 + i)) << i;
    EXPECT_EQ(r.RecordTimes[i], 40000 + i) << i;
    EXPECT_EQ(r.RecordNames[i], "P" + std::to_string(i)) << i;
  }
  void ExpectEntryDefault(const RecordState& r, int i) {
    EXPECT_EQ(r.RecordDates[i], state_.RecordDates[i]) << i;
    EXPECT_EQ(r.RecordTimes[i], state_.RecordTimes[i]) << i;
    EXPECT_EQ(r.RecordNames[i], state_.RecordNames[i]) << i;
  }

  TempDir dir_;
  std::string path_ = dir_.File("Kavrona.ini");
  RecordState state_;
};

TEST(RecordsFormatTest, MonthDayHasTwoDigitsEach) {
  EXPECT_EQ(FormatMonthDay(4, 22), "04/22");
  EXPECT_EQ(FormatMonthDay(12, 1), "12/01");
}

TEST_F(RecordsTest, SeedFillsEveryGroupWithTheDefaults) {
  for (int stage = 0; stage < 8; ++stage) {
    EXPECT_EQ(state_.RecordTimes[stage * 3], 60000);
    EXPECT_EQ(state_.RecordTimes[stage * 3 + 1], 70000);
    EXPECT_EQ(state_.RecordTimes[stage * 3 + 2], 80000);
  }
  EXPECT_EQ(state_.RecordTimes[24], 250000);
  EXPECT_EQ(state_.RecordTimes[25], 300000);
  EXPECT_EQ(state_.RecordTimes[26], 350000);
  for (int i = 0; i < kRecordCount; ++i) {
    EXPECT_EQ(state_.RecordDates[i], "04/22");
    EXPECT_EQ(state_.RecordNames[i], "ORVEL");
  }
}

TEST_F(RecordsTest, FreshDefaultFileHasTheExactBytes) {
  ASSERT_TRUE(SaveRecords(state_, Trace{}));
  const std::string bytes = ReadBytes(path_);
  EXPECT_EQ(bytes, DefaultFile());
  EXPECT_EQ(bytes.substr(0, 19), "04/22@60000\\ORVEL\r\n");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(path_)));
}

TEST_F(RecordsTest, SaveThenLoadGivesBackEverything) {
  RecordState saved = state_;
  for (int i = 0; i < kRecordCount; ++i) {
    saved.RecordDates[i] = FormatMonthDay(1 + i % 12, 1 + i);
    saved.RecordTimes[i] = 1234 * i - 5000;  // negatives, zero crossing
    saved.RecordNames[i] = std::string("N").append(std::to_string(i));
  }
  saved.RecordTimes[4] = 0;
  saved.RecordTimes[5] = INT32_MIN;
  saved.RecordTimes[6] = INT32_MAX;
  saved.RecordNames[7] = "A@B@";
  saved.RecordNames[8] = "ﾃﾞｽ";
  saved.RecordNames[9] = "ソ表\\名前";
  saved.RecordNames[10] = "";
  saved.RecordNames[11] = " SPACED ";
  saved.SoundSwitch = "OFF";
  saved.PlayerName = "ﾃﾞｽ";
  saved.FullScreenOn = 1;
  ASSERT_TRUE(SaveRecords(saved, Trace{}));

  const std::string bytes = ReadBytes(path_);
  EXPECT_NE(bytes.find("@-5000\\N0\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("@0\\N4\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("@-2147483648\\N5\r\n"), std::string::npos);
  EXPECT_TRUE(bytes.ends_with("\r\nOFF\r\n\xC3\xDE\xBD\r\n 1 \r\n"));

  RecordState loaded = state_;
  ASSERT_TRUE(LoadRecords(loaded));
  EXPECT_EQ(loaded.RecordDates, saved.RecordDates);
  EXPECT_EQ(loaded.RecordTimes, saved.RecordTimes);
  EXPECT_EQ(loaded.RecordNames, saved.RecordNames);
  EXPECT_EQ(loaded.SoundSwitch, "OFF");
  EXPECT_EQ(loaded.PlayerName, "ﾃﾞｽ");
  EXPECT_EQ(loaded.FullScreenOn, 1);
}

TEST_F(RecordsTest, FullScreenFlagPrintsWithASignPlace) {
  state_.FullScreenOn = -1;
  ASSERT_TRUE(SaveRecords(state_, Trace{}));
  EXPECT_TRUE(ReadBytes(path_).ends_with("\r\nORVEL\r\n-1 \r\n"));
  RecordState loaded = state_;
  loaded.FullScreenOn = 0;
  ASSERT_TRUE(LoadRecords(loaded));
  EXPECT_EQ(loaded.FullScreenOn, -1);
}

TEST_F(RecordsTest, LineBreaksAndUnencodableCharactersCannotBreakTheFile) {
  state_.RecordNames[0] = "A\r\nB";
  state_.PlayerName = "X\xF0\x9F\x98\x80Y";
  ASSERT_TRUE(SaveRecords(state_, Trace{}));
  const std::string bytes = ReadBytes(path_);
  EXPECT_TRUE(bytes.starts_with("04/22@60000\\A??B\r\n04/22@70000\\ORVEL\r\n"));
  EXPECT_NE(bytes.find("\r\nX?Y\r\n"), std::string::npos);
  RecordState loaded = state_;
  EXPECT_TRUE(LoadRecords(loaded));
  EXPECT_EQ(loaded.RecordNames[0], "A??B");
  EXPECT_EQ(loaded.RecordTimes[1], 70000);
}

TEST_F(RecordsTest, RankingIntoAStageGroup) {
  state_.PlayerName = "NEW";
  state_.RecordNames[3] = "FIRST";
  state_.RecordNames[4] = "SECOND";
  state_.RecordDates[4] = "01/02";

  // Equal to the second entry: lands below it, the third is lost.
  ASSERT_TRUE(InsertBestTime(state_, 2, 70000, 0, "05/01", Trace{}));
  EXPECT_EQ(state_.RecordTimes[3], 60000);
  EXPECT_EQ(state_.RecordTimes[4], 70000);
  EXPECT_EQ(state_.RecordNames[4], "SECOND");
  EXPECT_EQ(state_.RecordDates[4], "01/02");
  EXPECT_EQ(state_.RecordTimes[5], 70000);
  EXPECT_EQ(state_.RecordNames[5], "NEW");
  EXPECT_EQ(state_.RecordDates[5], "05/01");

  // A new best pushes everything down.
  ASSERT_TRUE(InsertBestTime(state_, 2, 50000, 0, "05/02", Trace{}));
  EXPECT_EQ(state_.RecordTimes[3], 50000);
  EXPECT_EQ(state_.RecordNames[3], "NEW");
  EXPECT_EQ(state_.RecordDates[3], "05/02");
  EXPECT_EQ(state_.RecordTimes[4], 60000);
  EXPECT_EQ(state_.RecordNames[4], "FIRST");
  EXPECT_EQ(state_.RecordTimes[5], 70000);
  EXPECT_EQ(state_.RecordNames[5], "SECOND");

  // Neighbouring groups are untouched.
  EXPECT_EQ(state_.RecordTimes[2], 80000);
  EXPECT_EQ(state_.RecordTimes[6], 60000);
  EXPECT_EQ(state_.RecordNames[6], "ORVEL");
}

TEST_F(RecordsTest, TimeNoBetterThanTheThirdChangesNothingButStillSaves) {
  for (const int32_t time : {80000, 80001, INT32_MAX}) {
    const RecordState before = state_;
    fs::remove(path_);
    ASSERT_TRUE(InsertBestTime(state_, 1, time, 0, "05/01", Trace{}));
    EXPECT_EQ(state_.RecordTimes, before.RecordTimes);
    EXPECT_EQ(state_.RecordNames, before.RecordNames);
    EXPECT_EQ(state_.RecordDates, before.RecordDates);
    EXPECT_EQ(ReadBytes(path_), DefaultFile());
  }
}

TEST_F(RecordsTest, FileReflectsTheInsertion) {
  state_.PlayerName = "ﾃﾞｽ";
  ASSERT_TRUE(InsertBestTime(state_, 8, 65000, 0, "12/31", Trace{}));
  const std::string bytes = ReadBytes(path_);
  EXPECT_NE(bytes.find("04/22@60000\\ORVEL\r\n12/31@65000\\\xC3\xDE\xBD\r\n04/22@70000\\ORVEL\r\n"
                       "04/22@250000"),
            std::string::npos);
}

TEST_F(RecordsTest, TotalsRankIntoTheirOwnGroupWhateverTheStage) {
  state_.PlayerName = "RUN";
  ASSERT_TRUE(InsertBestTime(state_, 3, 260000, -1, "06/06", Trace{}));
  EXPECT_EQ(state_.RecordTimes[24], 250000);
  EXPECT_EQ(state_.RecordTimes[25], 260000);
  EXPECT_EQ(state_.RecordNames[25], "RUN");
  EXPECT_EQ(state_.RecordTimes[26], 300000);
  EXPECT_EQ(state_.RecordTimes[6], 60000);
  EXPECT_EQ(state_.RecordTimes[8], 80000);
  // Any non-zero flag means a total, even with no stage set.
  ASSERT_TRUE(InsertBestTime(state_, 0, 1000, 1, "06/07", Trace{}));
  EXPECT_EQ(state_.RecordTimes[24], 1000);
}

TEST_F(RecordsTest, StageOutsideOneToEightRanksNothingButSaves) {
  const RecordState before = state_;
  EXPECT_TRUE(InsertBestTime(state_, 0, 1, 0, "01/01", Trace{}));
  EXPECT_TRUE(InsertBestTime(state_, 9, 1, 0, "01/01", Trace{}));
  EXPECT_TRUE(InsertBestTime(state_, -3, 1, 0, "01/01", Trace{}));
  EXPECT_EQ(state_.RecordTimes, before.RecordTimes);
  EXPECT_EQ(ReadBytes(path_), DefaultFile());
}

TEST_F(RecordsTest, OriginalFileWithShiftJisNamesLoadsAndSavesBackIdentically) {
  // Written by hand as the original program writes it; 0x83 0x5C (ソ) hides a "\" byte and
  // 0x83 0x40 (ァ) an "@" byte inside the name.
  std::vector<std::string> lines = OriginalLines();
  lines[0] = "07/15@41234\\\xC3\xDE\xBD";
  lines[1] = "07/15@52000\\\x83\x5C\x83\x40";
  lines[2] = "07/16@0\\AB@C";
  // A date in kanji: the "\" and "@" bytes inside it are halves of characters, not separators.
  lines[3] = "\x95\x5C\x83\x40@43\\X";
  lines[28] = "\xC3\xDE\xBD";
  const std::string original = Join(lines);

  bool intact = false;
  const RecordState loaded = LoadBytes(original, &intact);
  EXPECT_TRUE(intact);
  EXPECT_EQ(loaded.RecordNames[0], "ﾃﾞｽ");
  EXPECT_EQ(loaded.RecordTimes[0], 41234);
  EXPECT_EQ(loaded.RecordNames[1], "ソァ");
  EXPECT_EQ(loaded.RecordTimes[1], 52000);
  EXPECT_EQ(loaded.RecordNames[2], "AB@C");
  EXPECT_EQ(loaded.RecordTimes[2], 0);
  EXPECT_EQ(loaded.RecordDates[3], "表ァ");
  EXPECT_EQ(loaded.RecordTimes[3], 43);
  EXPECT_EQ(loaded.RecordNames[3], "X");
  for (int i = 4; i < kRecordCount; ++i) ExpectEntryFromFile(loaded, i);
  EXPECT_EQ(loaded.SoundSwitch, "OFF");
  EXPECT_EQ(loaded.PlayerName, "ﾃﾞｽ");
  EXPECT_EQ(loaded.FullScreenOn, 1);

  fs::remove(path_);
  ASSERT_TRUE(SaveRecords(loaded, Trace{}));
  EXPECT_EQ(ReadBytes(path_), original);
}

TEST_F(RecordsTest, OtherLineEndsAreAccepted) {
  for (const std::string end : {"\n", "\r"}) {
    bool intact = false;
    const RecordState loaded = LoadBytes(Join(OriginalLines(), end), &intact);
    EXPECT_TRUE(intact);
    for (int i = 0; i < kRecordCount; ++i) ExpectEntryFromFile(loaded, i);
    EXPECT_EQ(loaded.SoundSwitch, "OFF");
    EXPECT_EQ(loaded.PlayerName, "ACE");
    EXPECT_EQ(loaded.FullScreenOn, 1);
  }
  // No terminator after the last line, and mixed ends.
  std::string text = Join(OriginalLines());
  text.resize(text.size() - 2);
  text.erase(text.find("\r\n"), 1);
  bool intact = false;
  const RecordState loaded = LoadBytes(text, &intact);
  EXPECT_TRUE(intact);
  EXPECT_EQ(loaded.FullScreenOn, 1);
  ExpectEntryFromFile(loaded, 0);
  ExpectEntryFromFile(loaded, 1);
}

TEST_F(RecordsTest, ShortFileReadsTheLinesPresent) {
  std::vector<std::string> lines = OriginalLines();
  lines.resize(10);
  bool intact = true;
  RecordState loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  for (int i = 0; i < 10; ++i) ExpectEntryFromFile(loaded, i);
  for (int i = 10; i < kRecordCount; ++i) ExpectEntryDefault(loaded, i);
  EXPECT_EQ(loaded.SoundSwitch, "ON");
  EXPECT_EQ(loaded.PlayerName, "ORVEL");
  EXPECT_EQ(loaded.FullScreenOn, 0);

  lines = OriginalLines();
  lines.resize(29);
  loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  EXPECT_EQ(loaded.PlayerName, "ACE");
  EXPECT_EQ(loaded.FullScreenOn, 0);

  loaded = LoadBytes("", &intact);
  EXPECT_FALSE(intact);
  EXPECT_EQ(loaded.RecordTimes, state_.RecordTimes);
}

TEST_F(RecordsTest, DamagedRecordLineKeepsItsDefaultEntryOnly) {
  const std::vector<std::string> damaged = {
      "03/15 40005 P5",        // no separators
      "03/15@40005 P5",        // no "\"
      "03/15\\40005@P5",       // "\" before "@"
      "03/15@4O005\\P5",       // letter in the time
      "03/15@\\P5",            // empty time
      "03/15@-\\P5",           // sign only
      "03/15@1.5\\P5",         // fraction
      "03/15@+5\\P5",          // plus sign
      "03/15@2147483648\\P5",  // beyond 32 bits
      "03/15@-2147483649\\P5",
      "03/15@99999999999999999999\\P5",
      "03/15@40005\\P\x81",                  // Shift_JIS lead byte with no trail
      "03/15@40005\\P\xA0",                  // byte not in the code page
      std::string("03/15@40005\\P\0X", 15),  // NUL
      std::string("03/15@4000\0\\P5", 14),
      "03/15@40005\\" + std::string(3000, 'A'),  // far longer than any name
  };
  for (const std::string& bad : damaged) {
    SCOPED_TRACE(bad.substr(0, 40));
    std::vector<std::string> lines = OriginalLines();
    lines[5] = bad;
    bool intact = true;
    const RecordState loaded = LoadBytes(Join(lines), &intact);
    EXPECT_FALSE(intact);
    ExpectEntryDefault(loaded, 5);
    for (int i = 0; i < kRecordCount; ++i) {
      if (i != 5) ExpectEntryFromFile(loaded, i);
    }
    EXPECT_EQ(loaded.SoundSwitch, "OFF");
    EXPECT_EQ(loaded.PlayerName, "ACE");
    EXPECT_EQ(loaded.FullScreenOn, 1);
  }
}

TEST_F(RecordsTest, TimeFieldAcceptsPrintedFormsAndSurroundingBlanks) {
  const std::vector<std::pair<std::string, int32_t>> accepted = {{"0", 0},
                                                                 {"-0", 0},
                                                                 {"007", 7},
                                                                 {" 60000 ", 60000},
                                                                 {"-250", -250},
                                                                 {"2147483647", INT32_MAX},
                                                                 {"-2147483648", INT32_MIN}};
  for (const auto& [field, expected] : accepted) {
    std::vector<std::string> lines = OriginalLines();
    lines[0] = "01/01@" + field + "\\X";
    bool intact = false;
    const RecordState loaded = LoadBytes(Join(lines), &intact);
    EXPECT_TRUE(intact) << field;
    EXPECT_EQ(loaded.RecordTimes[0], expected) << field;
  }
}

TEST_F(RecordsTest, SettingLinesAreTrimmedAndKeptAsStored) {
  std::vector<std::string> lines = OriginalLines();
  lines[27] = "  maybe  ";
  lines[28] = "  \xB1\xB2 B  ";
  bool intact = false;
  const RecordState loaded = LoadBytes(Join(lines), &intact);
  EXPECT_TRUE(intact);
  EXPECT_EQ(loaded.SoundSwitch, "maybe");
  EXPECT_EQ(loaded.PlayerName, "ｱｲ B");
}

TEST_F(RecordsTest, DamagedSettingLinesKeepTheirDefaults) {
  std::vector<std::string> lines = OriginalLines();
  lines[27] = "O\x81";
  lines[28] = std::string("A\0B", 3);
  lines[29] = std::string("1\0", 2);
  bool intact = true;
  const RecordState loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  for (int i = 0; i < kRecordCount; ++i) ExpectEntryFromFile(loaded, i);
  EXPECT_EQ(loaded.SoundSwitch, "ON");
  EXPECT_EQ(loaded.PlayerName, "ORVEL");
  EXPECT_EQ(loaded.FullScreenOn, 0);
}

TEST_F(RecordsTest, FullScreenFlagTakesTheLeadingNumberRoundedHalfToEven) {
  const std::vector<std::pair<std::string, int32_t>> cases = {{" 1 ", 1},
                                                              {"0", 0},
                                                              {"1xyz", 1},
                                                              {"1.4", 1},
                                                              {"1.5", 2},
                                                              {"2.5", 2},
                                                              {"0.5", 0},
                                                              {"0.51", 1},
                                                              {"-1 ", -1},
                                                              {"-2.5", -2},
                                                              {"3.", 3},
                                                              {"+2", 2},
                                                              {".6", 1},
                                                              {".5", 0},
                                                              {".51", 1},
                                                              {"-.6", -1},
                                                              {"-2147483648", INT32_MIN},
                                                              {"2147483647", INT32_MAX},
                                                              {"-2147483648.5", INT32_MIN}};
  for (const auto& [text, expected] : cases) {
    std::vector<std::string> lines = OriginalLines();
    lines[29] = text;
    RecordState loaded = state_;
    loaded.FullScreenOn = 99;
    WriteBytes(path_, Join(lines));
    EXPECT_TRUE(LoadRecords(loaded)) << text;
    EXPECT_EQ(loaded.FullScreenOn, expected) << text;
  }
}

TEST_F(RecordsTest, FullScreenLineWithoutALeadingNumberMeansZero) {
  for (const std::string text : {"", "   ", "x", "x1", "on", "-", "+", ".", "-.", " . 5", "- 1"}) {
    std::vector<std::string> lines = OriginalLines();
    lines[29] = text;
    RecordState loaded = state_;
    loaded.FullScreenOn = 7;
    WriteBytes(path_, Join(lines));
    EXPECT_TRUE(LoadRecords(loaded)) << text;
    EXPECT_EQ(loaded.FullScreenOn, 0) << text;
  }
}

TEST_F(RecordsTest, FullScreenValueBeyondThirtyTwoBitsOrUnreadableIsDamage) {
  for (const std::string text :
       {"2147483648", "-2147483649", "2147483647.5", "-2147483648.6", "99999999999999999999", "1\x81"}) {
    std::vector<std::string> lines = OriginalLines();
    lines[29] = text;
    RecordState loaded = state_;
    loaded.FullScreenOn = 7;
    WriteBytes(path_, Join(lines));
    EXPECT_FALSE(LoadRecords(loaded)) << text;
    EXPECT_EQ(loaded.FullScreenOn, 7) << text;
    EXPECT_EQ(loaded.PlayerName, "ACE") << text;
  }
}

TEST_F(RecordsTest, NameTheFileCannotSupplyKeepsTheNameHeld) {
  // The file ends before the name line: start-up's default stays, as do the later settings.
  std::vector<std::string> lines = OriginalLines();
  lines.resize(20);
  bool intact = true;
  RecordState loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  EXPECT_EQ(loaded.PlayerName, "ORVEL");
  EXPECT_EQ(loaded.SoundSwitch, "ON");
  for (int i = 0; i < 20; ++i) ExpectEntryFromFile(loaded, i);

  // An empty or blank name line: the rest of the file still loads.
  for (const std::string name : {"", " ", "    "}) {
    lines = OriginalLines();
    lines[28] = name;
    loaded = LoadBytes(Join(lines), &intact);
    EXPECT_FALSE(intact) << '"' << name << '"';
    EXPECT_EQ(loaded.PlayerName, "ORVEL") << '"' << name << '"';
    EXPECT_EQ(loaded.SoundSwitch, "OFF");
    EXPECT_EQ(loaded.FullScreenOn, 1);
    for (int i = 0; i < kRecordCount; ++i) ExpectEntryFromFile(loaded, i);
  }

  // Whatever the caller held is what stays, not a fixed default.
  WriteBytes(path_, Join(lines));
  loaded = state_;
  loaded.PlayerName = "HELD";
  EXPECT_FALSE(LoadRecords(loaded));
  EXPECT_EQ(loaded.PlayerName, "HELD");
}

TEST_F(RecordsTest, HugeFilesAreReadOnlyAsFarAsNeeded) {
  // Megabytes with no line end: nothing usable, nothing changed.
  bool intact = true;
  RecordState loaded = LoadBytes(std::string(8 * 1024 * 1024, 'A'), &intact);
  EXPECT_FALSE(intact);
  EXPECT_EQ(loaded.RecordTimes, state_.RecordTimes);
  EXPECT_EQ(loaded.RecordNames, state_.RecordNames);
  EXPECT_EQ(loaded.PlayerName, "ORVEL");

  // A whole file followed by megabytes of rubbish: the original read 30 lines and stopped.
  loaded = LoadBytes(Join(OriginalLines()) + std::string(8 * 1024 * 1024, '\xFF'), &intact);
  EXPECT_TRUE(intact);
  for (int i = 0; i < kRecordCount; ++i) ExpectEntryFromFile(loaded, i);
  EXPECT_EQ(loaded.FullScreenOn, 1);

  // Lines cut by the read bound are not taken half-read.
  std::vector<std::string> lines = OriginalLines();
  lines[10] = "03/20@40010\\" + std::string(100 * 1024, 'B');
  loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  for (int i = 0; i < 10; ++i) ExpectEntryFromFile(loaded, i);
  for (int i = 10; i < kRecordCount; ++i) ExpectEntryDefault(loaded, i);
  EXPECT_EQ(loaded.PlayerName, "ORVEL");

  // The read bound falls inside a short, valid-looking line: "...\\P2" must not load as a name.
  lines = OriginalLines();
  const std::size_t boundary = 64 * 1024;
  const std::string head = "03/36@40026\\P2";
  std::size_t before = 0;
  for (int i = 0; i < 25; ++i) {
    lines[i] = std::string(2500, 'Z');
    before += lines[i].size() + 2;
  }
  lines[25] = std::string(boundary - head.size() - before - 2, 'Z');
  ASSERT_EQ(Join(lines).find(head), boundary - head.size());
  loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  ExpectEntryDefault(loaded, 26);
  EXPECT_EQ(loaded.SoundSwitch, "ON");
}

TEST_F(RecordsTest, UnreadablePathsChangeNothing) {
  RecordState loaded = state_;
  EXPECT_FALSE(LoadRecords(loaded));  // no file yet
  loaded.RecordFilePath = dir_.Path().string();
  EXPECT_FALSE(LoadRecords(loaded));  // a directory
  loaded.RecordFilePath = "";
  EXPECT_FALSE(LoadRecords(loaded));
  EXPECT_EQ(loaded.RecordTimes, state_.RecordTimes);
  EXPECT_EQ(loaded.PlayerName, "ORVEL");
}

TEST_F(RecordsTest, InterruptedSaveLeavesThePreviousFileLoadable) {
  state_.PlayerName = "KEPT";
  ASSERT_TRUE(SaveRecords(state_, Trace{}));
  const std::string before = ReadBytes(path_);

  AtomicWriteHooks crash;
  crash.crashAfterBytes = 40;
  bool result = true;
  EXPECT_NO_THROW(result = WriteFileAtomically(path_, DefaultFile(), &crash));
  EXPECT_FALSE(result);
  EXPECT_EQ(ReadBytes(path_), before);
  RecordState loaded = state_;
  loaded.PlayerName = "";
  EXPECT_TRUE(LoadRecords(loaded));
  EXPECT_EQ(loaded.PlayerName, "KEPT");

  state_.PlayerName = "NEXT";
  EXPECT_TRUE(SaveRecords(state_, Trace{}));
  EXPECT_TRUE(LoadRecords(loaded));
  EXPECT_EQ(loaded.PlayerName, "NEXT");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(path_)));
}

TEST_F(RecordsTest, SaveThatCannotWriteReportsFailureAndKeepsTheOldFile) {
  ASSERT_TRUE(SaveRecords(state_, Trace{}));
  // Something that is not a stale temporary file blocks the temporary's name.
  fs::create_directories(fs::path(TemporaryPathFor(path_)) / "occupied");
  state_.PlayerName = "LOST";
  EXPECT_FALSE(SaveRecords(state_, Trace{}));
  EXPECT_EQ(ReadBytes(path_), DefaultFile());

  state_.RecordFilePath = dir_.File("missing/Kavrona.ini");
  EXPECT_FALSE(SaveRecords(state_, Trace{}));
  EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
  state_.RecordFilePath = "";
  EXPECT_FALSE(SaveRecords(state_, Trace{}));
}

TEST_F(RecordsTest, FileExistsOnlyForReadableRegularFiles) {
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(path_));
  WriteBytes(path_, "x");
  EXPECT_TRUE(FileExists(path_));
  EXPECT_TRUE(FileExists(path_ + "/"));
  EXPECT_TRUE(FileExists(path_ + "\\"));
  EXPECT_FALSE(FileExists(path_ + "//"));
  EXPECT_FALSE(FileExists(dir_.Path().string()));
  EXPECT_FALSE(FileExists(dir_.Path().string() + "\\"));
  EXPECT_FALSE(FileExists(dir_.Path().string() + "/"));
  EXPECT_FALSE(FileExists("/"));
  // A FIFO nobody writes to must not block the check.
  const std::string fifo = dir_.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(FileExists(fifo));
  RecordState r = state_;
  r.RecordFilePath = fifo;
  EXPECT_FALSE(LoadRecords(r));
}

// Simulates a system whose iconv lacks CP932 for the life of the object.
class WithoutConverter {
 public:
  WithoutConverter() { SetCodePageForTesting("KAVRONA-NO-SUCH-CODE-PAGE"); }
  ~WithoutConverter() { SetCodePageForTesting(nullptr); }
  WithoutConverter(const WithoutConverter&) = delete;
  WithoutConverter& operator=(const WithoutConverter&) = delete;
};

TEST_F(RecordsTest, WithoutTheConverterAsciiLinesStillLoad) {
  const WithoutConverter missing;
  bool intact = false;
  RecordState loaded = LoadBytes(Join(OriginalLines()), &intact);
  EXPECT_TRUE(intact);
  for (int i = 0; i < kRecordCount; ++i) ExpectEntryFromFile(loaded, i);
  EXPECT_EQ(loaded.SoundSwitch, "OFF");
  EXPECT_EQ(loaded.PlayerName, "ACE");
  EXPECT_EQ(loaded.FullScreenOn, 1);

  // A Shift_JIS name cannot be read, so only its entry keeps the default.
  std::vector<std::string> lines = OriginalLines();
  lines[3] = "03/13@40003\\\xC3\xDE\xBD";
  lines[28] = "\xC3\xDE\xBD";
  loaded = LoadBytes(Join(lines), &intact);
  EXPECT_FALSE(intact);
  ExpectEntryDefault(loaded, 3);
  ExpectEntryFromFile(loaded, 4);
  EXPECT_EQ(loaded.PlayerName, "ORVEL");
}

// One test, as the warning is given once per process.
TEST_F(RecordsTest, WithoutTheConverterSavesNeverTouchTheFileAndSaySoOnce) {
  std::vector<std::string> lines = OriginalLines();
  lines[0] = "07/15@41234\\\xC3\xDE\xBD";
  lines[28] = "\xC3\xDE\xBD";
  const std::string original = Join(lines);
  WriteBytes(path_, original);

  std::string said;
  {
    const WithoutConverter missing;
    RecordState loaded = state_;
    LoadRecords(loaded);
    ::testing::internal::CaptureStderr();
    const bool saved = SaveRecords(loaded, Trace{});
    const bool inserted = InsertBestTime(loaded, 1, 1, 0, "05/05", Trace{});
    // Nor is a first file made.
    RecordState fresh = state_;
    fresh.RecordFilePath = dir_.File("New.ini");
    const bool created = SaveRecords(fresh, Trace{});
    said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(saved);
    EXPECT_FALSE(inserted);
    EXPECT_FALSE(created);
    EXPECT_EQ(ReadBytes(path_), original);
    EXPECT_FALSE(fs::exists(fs::symlink_status(TemporaryPathFor(path_))));
    EXPECT_FALSE(fs::exists(fresh.RecordFilePath));
  }
  const std::string line =
      "Kavrona: cannot convert names to Shift_JIS (iconv CP932 missing); the record file is not saved\n";
  EXPECT_EQ(said, line);

  // With the converter back, saving works again.
  ASSERT_TRUE(SaveRecords(state_, Trace{}));
  EXPECT_EQ(ReadBytes(path_), DefaultFile());
}

}  // namespace
}  // namespace kav
