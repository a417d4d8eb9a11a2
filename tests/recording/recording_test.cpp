#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/game_fixture.h"
#include "platform/headless/headless_audio.h"
#include "recording/best_runs.h"
#include "recording/journal.h"
#include "recording/playback_session.h"
#include "recording/recording_file.h"
#include "recording/session_recorder.h"
#include "support/temp_dir.h"

namespace kav::recording {
namespace {

std::vector<Entry> ReadAll(std::string_view journal) {
  JournalReader reader(journal);
  std::vector<Entry> out;
  Entry e;
  while (reader.Next(e)) out.push_back(e);
  EXPECT_TRUE(reader.AtEnd()) << reader.Error();
  return out;
}

TEST(Journal, EveryEntryReadsBackAsWritten) {
  JournalWriter w;
  w.Ticks(2147483600);
  w.Ticks(-2147483600);  // across the counter's wrap
  w.Wait(Op::kSleep, 16, -2147483590);
  w.KeyDown(40, true);
  w.LocalDate(12, 31);
  w.Seconds(36000.125);
  w.Events({PlatformEvent::Click(799, 599), PlatformEvent::Key(kVkTab, kModShift), PlatformEvent::Text("ｱｲｳ"),
            PlatformEvent::Compose(""), PlatformEvent::Close()});
  w.Rect(Op::kWindowRect, {-5, 10, 800, 600});
  w.Text(Op::kRecordDir, "/home/p/.local/share/kavrona/");
  w.Volume(3, -2500);
  JoystickState pad{-32768, 32767, true, false, ForceFelt{0.75, 120}};
  w.PadRead(pad);
  w.PadEffects({{"Punched", "{guid}"}});
  w.PadStart({true, {0.5, -1}});
  w.Check(CheckPoint::kCleared, 8, 0xfedcba9876543210ull);
  w.Number(Op::kEnd, 0);

  const std::vector<Entry> e = ReadAll(w.Bytes());
  ASSERT_EQ(e.size(), 15u);
  EXPECT_EQ(e[0].ticks, 2147483600);
  EXPECT_EQ(e[1].ticks, -2147483600);
  EXPECT_EQ(e[2].number, 16);
  EXPECT_EQ(e[2].ticks, -2147483590);
  EXPECT_EQ(e[3].number, 40);
  EXPECT_TRUE(e[3].flag);
  EXPECT_EQ(e[5].seconds, 36000.125);
  ASSERT_EQ(e[6].events.size(), 5u);
  EXPECT_EQ(e[6].events[0].x, 799);
  EXPECT_EQ(e[6].events[1].mods, kModShift);
  EXPECT_EQ(e[6].events[2].text, "ｱｲｳ");
  EXPECT_EQ(e[6].events[4].kind, PlatformEvent::Kind::CloseRequested);
  EXPECT_EQ(e[7].rect, (WindowRect{-5, 10, 800, 600}));
  EXPECT_EQ(e[9].value, -2500);
  EXPECT_EQ(e[10].pad.axisX, -32768);
  ASSERT_TRUE(e[10].pad.triggered);
  EXPECT_EQ(e[10].pad.triggered->ms, 120);
  EXPECT_EQ(e[11].effects[0].guid, "{guid}");
  EXPECT_EQ(e[12].play.felt.ms, -1);
  EXPECT_EQ(e[13].hash, 0xfedcba9876543210ull);
  EXPECT_EQ(e[13].value, 8);

  // Written again entry by entry, the journal is the same bytes.
  JournalWriter again;
  for (const Entry& x : e) again.Put(x);
  EXPECT_EQ(again.Bytes(), w.Bytes());

  // Every shorter journal is refused with a reason, never read past its end.
  std::string error;
  EXPECT_TRUE(ValidateJournal(w.Bytes(), error)) << error;
  for (size_t n = 0; n < w.Size(); ++n) {
    error.clear();
    EXPECT_FALSE(ValidateJournal(std::string_view(w.Bytes()).substr(0, n), error)) << n;
    EXPECT_FALSE(error.empty());
  }
}

TEST(RecordingFile, RefusesWhatIsNotWholeWithOneReason) {
  Recording r;
  r.header.gameVersion = "1.2.0";
  r.header.date = "04/22";
  r.header.recordFile = std::string("04/22\r\n", 7);
  r.header.padKind = "none";
  JournalWriter w;
  for (int i = 0; i < 500; ++i) w.Ticks(i * 16);
  w.Number(Op::kEnd, 0);
  r.journal = w.Bytes();
  const std::string file = EncodeRecording(r);
  EXPECT_LT(file.size(), r.journal.size() / 4) << "the journal is packed";

  Recording back;
  std::string error;
  ASSERT_TRUE(DecodeRecording(file, back, error)) << error;
  EXPECT_EQ(back.journal, r.journal);
  EXPECT_EQ(back.header.recordFile, r.header.recordFile);

  for (size_t n = 0; n < file.size(); ++n) {
    error.clear();
    EXPECT_FALSE(DecodeRecording(std::string_view(file).substr(0, n), back, error)) << n;
    EXPECT_FALSE(error.empty());
  }
  for (size_t at : {size_t{30}, file.size() / 2, file.size() - 1}) {
    std::string flipped = file;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x04);
    error.clear();
    EXPECT_FALSE(DecodeRecording(flipped, back, error)) << at;
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  }
  Recording newer = r;
  newer.header.formatVersion = kFormatVersion + 1;
  EXPECT_FALSE(DecodeRecording(EncodeRecording(newer), back, error));
  EXPECT_NE(error.find("newer"), std::string::npos) << error;
  EXPECT_FALSE(DecodeRecording("PK\3\4 a zip file", back, error));
  EXPECT_EQ(error, "not a Kavrona recording");
}

using RecordedSessionFiles = testing::GameFixture;

TEST(BestRuns, KeepsTheRunThatPutsANewFirstAtTheNextWait) {
  RecordState r;
  SeedDefaultRecords(r, "04/22");
  std::vector<std::string> kept;
  BestRuns best(r, [&](const std::vector<std::string>& names) { kept.insert(kept.end(), names.begin(), names.end()); });
  // A save before any stage (the entry name) keeps nothing.
  r.RecordNames[0] = "ACE";
  best.Write({"records", {}});
  best.Write({"wait", {}});
  EXPECT_TRUE(kept.empty());

  best.Write({"stage", {}});
  r.RecordTimes[4] = 1000;  // stage 2, second place
  best.Write({"records", {}});
  best.Write({"wait", {}});
  EXPECT_TRUE(kept.empty());

  r.RecordTimes[3] = 900;  // stage 2, first place
  best.Write({"records", {}});
  EXPECT_TRUE(kept.empty()) << "kept only once the clear's screen waits";
  r.RecordTimes[24] = 100000;  // and the best total
  best.Write({"records", {}});
  best.Write({"wait", {}});
  EXPECT_EQ(kept, (std::vector<std::string>{"stage2.kvr", "total.kvr"}));
}

TEST_F(RecordedSessionFiles, KeepsEachNewBestInReplaysAndReplacesIt) {
  HeadlessAudio audio;
  NoJoystick pad;
  SessionRecorder recorder(Platform(*platform), audio, pad, dir.string(), true);
  Game g(recorder.Sides());
  recorder.Attach(g, nullptr);
  SeedDefaultRecords(g, "04/22");
  const std::filesystem::path kept = dir / "replays" / "stage1.kvr";

  g.trace.Emit("stage");
  g.platform.clock.Ticks();
  g.RecordTimes[0] = 5000;
  g.trace.Emit("records");
  EXPECT_FALSE(std::filesystem::exists(kept));
  g.trace.Emit("wait");
  Recording first;
  std::string error;
  ASSERT_TRUE(ReadRecordingFile(kept.string(), first, error)) << error;
  const std::vector<Entry> entries = ReadAll(first.journal);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back().op, Op::kCut);

  g.trace.Emit("stage");
  g.platform.clock.Ticks();
  g.RecordTimes[0] = 4000;
  g.trace.Emit("records");
  g.trace.Emit("wait");
  Recording second;
  ASSERT_TRUE(ReadRecordingFile(kept.string(), second, error)) << error;
  EXPECT_GT(second.journal.size(), first.journal.size()) << "the beaten best was not replaced";
  EXPECT_FALSE(std::filesystem::exists(dir / "replays" / "total.kvr"));
}

// A session on the headless platform, recorded: a name typed, dialogs answered with Return, the
// briefing with Space, climbs, then the fall; cut after 20 s.
class RecordedSession : public testing::GameFixture {
 protected:
  struct Stop {};

  Recording RecordOne(Language language = Language::kJapanese) {
    HeadlessAudio audio;
    NoJoystick pad;
    SessionRecorder recorder(Platform(*platform), audio, pad);
    recorder.SetLanguage(language);
    Game g(recorder.Sides());
    g.texts = TextsOf(language);
    g.audio = &recorder.audio();
    g.joystick = &recorder.joystick();
    recorder.Attach(g, nullptr);
    platform->onSleep = [&g, nextAt = int64_t{0}, named = false](HeadlessPlatform& p) mutable {
      if (p.Now() >= 20000) throw Stop{};
      if (g.dialog.visible && p.Now() >= nextAt) {
        if (!named) p.QueueEvent(PlatformEvent::Text("ACE"));
        named = true;
        p.QueueEvent(PlatformEvent::Key(kVkReturn));
        nextAt = p.Now() + 20;
      }
      p.SetKey(kVkSpace, p.Now() % 3000 < 100);
      p.SetKey(kVkDown, g.ClockRunning != kFalse && p.Now() % 1000 < 300);
    };
    try {
      Main(g);
    } catch (const Stop&) {
    }
    platform->onSleep = nullptr;
    return recorder.Snapshot();
  }

  int Play(const Recording& r, std::string& message) {
    const std::string path = file_.File("r.kvr");
    {
      std::ofstream out(path, std::ios::binary);
      out << EncodeRecording(r);
    }
    PlaybackSession session;
    std::string error;
    if (!session.Load(path, error)) {
      message = error;
      return kStatusBadRecording;
    }
    HeadlessPlatform out(dir.string());
    HeadlessAudio audio;
    const int status = session.Play(Platform(out), audio, {});
    message = session.message();
    return status;
  }

  test::TempDir file_;
};

TEST_F(RecordedSession, PlaysBackInStep) {
  const Recording r = RecordOne();
  EXPECT_FALSE(r.header.recordFile) << "a first run: no record file yet";
  EXPECT_EQ(r.header.date, "04/22");
  std::string message;
  EXPECT_EQ(Play(r, message), 0) << message;
}

TEST_F(RecordedSession, PlaysBackOnTheRecordFileItBeganWith) {
  RecordState table;
  SeedDefaultRecords(table, "01/02");
  table.RecordTimes[0] = 4321;
  table.RecordNames[0] = "PREV";
  table.PlayerName = "PREV";
  table.RecordFilePath = RecordFile().string();
  ASSERT_TRUE(SaveRecords(table, Trace{}));
  const std::string before = ReadRecordFile();

  const Recording r = RecordOne();
  ASSERT_TRUE(r.header.recordFile);
  EXPECT_EQ(*r.header.recordFile, before);
  // The player's table changes after the session; the playback still sees the one it began with.
  table.RecordTimes[0] = 1;
  ASSERT_TRUE(SaveRecords(table, Trace{}));
  std::string message;
  EXPECT_EQ(Play(r, message), 0) << message;
}

TEST_F(RecordedSession, DepartsWhereTheStateOrTheInputDiffers) {
  const Recording r = RecordOne();
  const std::vector<Entry> entries = ReadAll(r.journal);
  int checks = 0;
  for (const Entry& e : entries) checks += e.op == Op::kCheck ? 1 : 0;
  ASSERT_GE(checks, 3) << "set-up, clock start and the failure of stage 1";

  // A state check that does not match stops the playback there, and says so.
  Recording badCheck = r;
  JournalWriter w;
  bool changed = false;
  for (Entry e : entries) {
    if (e.op == Op::kCheck && e.number == static_cast<int>(CheckPoint::kClockStarted) && !changed) {
      e.hash ^= 1;
      changed = true;
    }
    w.Put(e);
  }
  badCheck.journal = w.Bytes();
  std::string message;
  EXPECT_EQ(Play(badCheck, message), kStatusDeparted);
  EXPECT_NE(message.find("state differs"), std::string::npos) << message;
  EXPECT_NE(message.find("stage 1's clock start"), std::string::npos) << message;

  // The climb key read the other way round: the flight goes elsewhere and the playback departs,
  // naming the frame.
  Recording otherKeys = r;
  JournalWriter k;
  bool flying = false;
  for (Entry e : entries) {
    flying = flying || (e.op == Op::kCheck && e.number == static_cast<int>(CheckPoint::kClockStarted));
    if (flying && e.op == Op::kKeyDown && e.number == kVkDown) e.flag = !e.flag;
    k.Put(e);
  }
  otherKeys.journal = k.Bytes();
  EXPECT_EQ(Play(otherKeys, message), kStatusDeparted);
  EXPECT_NE(message.find("frame "), std::string::npos) << message;

  // A record file that is not the one the session began with.
  Recording otherRecords = r;
  otherRecords.header.recordFile = "damaged\r\n";
  EXPECT_EQ(Play(otherRecords, message), kStatusDeparted) << message;
}

// English texts type for other lengths of time, so a session keeps its language to stay in step.
TEST_F(RecordedSession, PlaysBackInTheLanguageItWasPlayedIn) {
  Recording r = RecordOne(Language::kEnglish);
  EXPECT_EQ(r.header.language, "en");
  std::string message;
  EXPECT_EQ(Play(r, message), 0) << message;
  r.header.language = "ja";
  EXPECT_EQ(Play(r, message), kStatusDeparted) << message;
}

}  // namespace
}  // namespace kav::recording
