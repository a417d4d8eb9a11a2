#include "game/result_screens.h"

#include <gtest/gtest.h>

#include <optional>

#include "base/boolean.h"
#include "game/best_times.h"
#include "game/game_fixture.h"
#include "platform/headless/headless_joystick.h"

namespace kav {
namespace {

using Lines = std::array<std::string, 11>;

// Every event, with each key wait answered by a tap of Space shortly after it begins.
struct Recorder : TraceSink {
  HeadlessPlatform* platform = nullptr;
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override {
    events.push_back(e);
    if (e.kind == "wait") {
      platform->PressKeyAt(kVkSpace, platform->Now() + 5);
    }
  }
  static const TraceValue* Field(const TraceEvent& e, const std::string& key) {
    for (const auto& [k, v] : e.fields) {
      if (k == key) {
        return &v;
      }
    }
    return nullptr;
  }
  std::vector<const TraceEvent*> Of(const std::string& kind) const {
    std::vector<const TraceEvent*> found;
    for (const TraceEvent& e : events) {
      if (e.kind == kind) {
        found.push_back(&e);
      }
    }
    return found;
  }
  // The explosion's sound calls, the force calls and the milestones of the screen, in order.
  std::vector<std::string> Story() const {
    std::vector<std::string> story;
    for (const TraceEvent& e : events) {
      std::string s;
      if (e.kind == "sound" && Field(e, "slot")->As<int64_t>() == 2) {
        s = "sound ";
        s += Field(e, "op")->As<std::string>();
        if (const TraceValue* v = Field(e, "value")) {
          s += ' ' + std::to_string(v->As<int64_t>());
        }
      } else if (e.kind == "force") {
        s = "force ";
        s += Field(e, "op")->As<std::string>();
        s += ' ' + std::to_string(Field(e, "effect")->As<int64_t>());
      } else if (e.kind == "message" || e.kind == "waited" || e.kind == "records") {
        s = e.kind;
      }
      if (!s.empty()) {
        story.push_back(s);
      }
    }
    return story;
  }
};

// Notes every sleep of 90 ms with where the two bursts are then.
struct BurstWatch : SleepHook {
  struct Frame {
    bool small;
    bool large;
    int32_t left;
    int32_t top;
    bool heli;
  };
  Game* game = nullptr;
  std::vector<Frame> frames;
  void Sleeping(HeadlessPlatform& p, int64_t untilMs) override {
    if (untilMs - p.Now() != 90) {
      return;
    }
    const HeliRecord& h = game->Heli;
    const Control& shown = h.Pics[kSmallBurstPic]->Visible ? *h.Pics[kSmallBurstPic] : *h.Pics[kLargeBurstPic];
    frames.push_back({h.Pics[kSmallBurstPic]->Visible, h.Pics[kLargeBurstPic]->Visible, shown.Left, shown.Top,
                      h.Pics[kHeliPic]->Visible});
  }
};

class ResultScreensTest : public testing::GameFixture {
 protected:
  std::optional<HeadlessJoystick> joystick;
  Recorder recorder;

  void SetUp() override {
    GameFixture::SetUp();
    joystick.emplace(platform->pad);
    platform->pad.attached = true;
    platform->pad.kind = HeadlessPad::Kind::Haptic;
    game->joystick = &*joystick;
    StartUpPastTheDialogs();
    ASSERT_EQ(game->ForceFeedbackReady, kTrue);
    recorder.platform = platform.get();
    game->trace = Trace(&recorder);
    // M types at once: the texts are the same, only quicker.
    platform->SetKey(kVkM, true);
    game->screen[Pic::Picture4].Move(0, 0);
  }
  void SetStageRecords(int stage, int32_t a, int32_t b, int32_t c) {
    const size_t base = static_cast<size_t>(3 * stage - 3);
    game->RecordTimes[base] = a;
    game->RecordTimes[base + 1] = b;
    game->RecordTimes[base + 2] = c;
  }
  // The eleven lines the last screen typed; checks the typing delay on the way.
  Lines Typed(int32_t delay) {
    const auto messages = recorder.Of("message");
    EXPECT_FALSE(messages.empty());
    Lines lines;
    if (messages.empty()) {
      return lines;
    }
    EXPECT_EQ(Recorder::Field(*messages.back(), "delay")->As<int64_t>(), delay);
    const auto& texts = Recorder::Field(*messages.back(), "lines")->As<TraceValue::Array>();
    for (size_t i = 0; i < lines.size() && i < texts.size(); ++i) {
      lines[i] = texts[i].As<std::string>();
    }
    EXPECT_FALSE(lines[10].empty()) << "the prompt line";
    return lines;
  }
  Lines Clear(int stage, int32_t t) {
    game->CurrentStage = stage;
    game->StageTimes[static_cast<size_t>(stage)] = t;
    ShowStageClear(*game);
    return Typed(25);
  }
  Lines Failure(uint8_t outcome) {
    game->StageOutcome = outcome;
    ShowFailure(*game);
    return Typed(5);
  }
  void ExpectWindowCentred(bool visible) {
    const Control& window = game->screen[Pic::Picture4];
    EXPECT_EQ(window.Left, 88);
    EXPECT_EQ(window.Top, 112);
    EXPECT_EQ(window.Visible, visible);
  }
};

constexpr const char* kBest = "        ｽﾊﾞﾗｼｲ !!";
constexpr const char* kSecond = "     ﾅｶﾅｶ ﾔﾙﾃﾞﾊﾅｲｶ !";
constexpr const char* kThird = "     ﾌﾞﾅﾝﾅ ﾀｲﾑ ﾀﾞﾅ";
constexpr const char* kSlow = "    ｼﾞｶﾝｶﾞ　ｶｶﾘｽｷﾞﾀﾞ";
constexpr const char* kOrdinary = "      ｺﾞｸﾛｳﾃﾞｱｯﾀ";

TEST_F(ResultScreensTest, ClearScreenRatesByTheFirstRowThatHolds) {
  struct Case {
    int32_t t;
    const char* line2;
    const char* line4;
  };
  SetStageRecords(3, 60000, 70000, 80000);
  for (const Case& c :
       {Case{60000, kBest, "  ﾀﾞﾚﾓｶﾞ ﾐﾄﾒﾙ ｳﾃﾞﾏｴﾀﾞ"}, Case{60001, kSecond, "ﾂｷﾞﾊ ﾓｯﾄ ｺｳﾀｲﾑｦ ﾈﾗｯﾃﾐﾃｸﾚ"},
        Case{70000, kSecond, "ﾂｷﾞﾊ ﾓｯﾄ ｺｳﾀｲﾑｦ ﾈﾗｯﾃﾐﾃｸﾚ"}, Case{80000, kThird, " ｷﾐﾅﾗ ｲｲﾀｲﾑｶﾞ ﾀﾞｾﾙ ﾊｽﾞﾀﾞ"},
        Case{80001, kSlow, "   ﾓｯﾄ ｽﾊﾞﾔｲ　ｺｳﾄﾞｳｦ !"}}) {
    const Lines lines = Clear(3, c.t);
    EXPECT_EQ(lines[2], c.line2) << c.t;
    EXPECT_EQ(lines[4], c.line4) << c.t;
  }
  // Under 50 s but ranking nowhere.
  SetStageRecords(3, 10000, 20000, 30000);
  EXPECT_EQ(Clear(3, 50000)[2], kSlow);
  const Lines ordinary = Clear(3, 49999);
  EXPECT_EQ(ordinary[2], kOrdinary);
  EXPECT_EQ(ordinary[4], "  ｷﾐﾉ ﾃﾞｰﾀﾊ　ｲｶﾉ　ﾄｵﾘﾀﾞ   ");
  EXPECT_EQ(ordinary[0], "      $ｶﾌﾞﾛﾅ ｾｲｺｳ     ");
  EXPECT_EQ(ordinary[1], "/");
  EXPECT_EQ(ordinary[6], "    &BEST   :  10.00");
  EXPECT_EQ(ordinary[8], "   &ｲﾏﾉﾀｲﾑ  :  50.00");
  for (size_t i : {3u, 5u, 7u, 9u}) {
    EXPECT_EQ(ordinary[i], "") << i;
  }
  ExpectWindowCentred(true);
}

TEST_F(ResultScreensTest, ClearScreenRatesAgainstTheTableAfterTheTimeWasEntered) {
  game->CurrentStage = 4;
  InsertBestTime(*game, 45000, kFalse);
  EXPECT_EQ(Clear(4, 45000)[2], kBest) << "a first clear ranks first";
  InsertBestTime(*game, 90000, kFalse);
  EXPECT_EQ(Clear(4, 90000)[2], kSlow);
}

TEST_F(ResultScreensTest, EachStageHasItsOwnCommentAtBothLimits) {
  struct Comment {
    int32_t first;
    const char* firstText;
    int32_t second;
    const char* secondText;
  };
  const std::array<Comment, 8> comments{{
      {2500, "     ﾀﾀﾞﾓﾉﾃﾞﾊ ﾅｲﾅ !", 2000, "       ｶ.ｶﾐﾜｻﾞﾀﾞ !"},
      {2500, "     ｼｮｳｼﾞｷ ｵﾄﾞﾛｲﾀ !", 2000, "   ｿﾝﾅ ﾀｲﾑｶﾞ ﾃﾞﾙﾉｶ ?!"},
      {5300, " ﾄﾞｳｽﾚﾊﾞ ｿﾉﾀｲﾑｶﾞ ﾃﾞﾙﾉﾀﾞ", 4300, "          ﾏｲｯﾀ !"},
      {5000, "     ﾓｼｶｽﾙﾄ ﾌﾟﾛ ﾅﾉｶ ?", 4000, "       ｷﾐﾊ ｶﾐ ﾅﾉｶ ?"},
      {5000, "       ｼ. ｼﾝｼﾞﾗﾚﾝ !", 4000, "    ｵﾚﾆ ﾃｸﾆｯｸｦ ｵｼｴﾃｸﾚ !"},
      {12000, "    ｿﾝﾅ ｺﾄｶﾞ ﾃﾞｷﾙ ﾉｶ ?", 11000, "       ｷﾐﾊ ﾅﾆﾓﾉﾀﾞ ?!"},
      {16000, "         ｵｿﾙﾍﾞｼ", 14000, "       ﾓﾊﾔ ﾃﾞﾝｾﾂﾀﾞ"},
      {5000, "          ! ! !", 4000, "  ﾓﾊﾔ ﾀﾞﾚﾓ ｺｴﾗﾚﾅｲ ﾀﾞﾛｳ"},
  }};
  for (int stage = 1; stage <= 8; ++stage) {
    const Comment& c = comments[static_cast<size_t>(stage - 1)];
    SetStageRecords(stage, 60000, 70000, 80000);
    Lines lines = Clear(stage, c.first + 1);
    EXPECT_EQ(lines[2], kBest) << "stage " << stage << " just over the first limit";
    lines = Clear(stage, c.first);
    EXPECT_EQ(lines[2], c.firstText) << "stage " << stage;
    EXPECT_EQ(lines[4], "") << "stage " << stage;
    EXPECT_EQ(Clear(stage, c.second + 1)[2], c.firstText) << "stage " << stage;
    lines = Clear(stage, c.second);
    EXPECT_EQ(lines[2], c.secondText) << "stage " << stage;
    EXPECT_EQ(lines[4], "") << "stage " << stage;
  }
}

TEST_F(ResultScreensTest, StageCommentReplacesWhateverTheTableSays) {
  SetStageRecords(1, 0, 0, 0);
  Lines lines = Clear(1, 1999);
  EXPECT_EQ(lines[2], "       ｶ.ｶﾐﾜｻﾞﾀﾞ !");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[8], "   &ｲﾏﾉﾀｲﾑ  :   2.00");
  EXPECT_EQ(Clear(6, 11500)[2], "    ｿﾝﾅ ｺﾄｶﾞ ﾃﾞｷﾙ ﾉｶ ?");
}

TEST_F(ResultScreensTest, StageNumbersOutsideTheEightReadNoTable) {
  game->RecordTimes[24] = 999999;  // where stage 9's first entry would lie: the totals
  game->CurrentStage = 9;
  ShowStageClear(*game);
  Lines lines = Typed(25);
  EXPECT_EQ(lines[2], kOrdinary);
  EXPECT_EQ(lines[6], "    &BEST   : ");
  EXPECT_EQ(lines[8], "   &ｲﾏﾉﾀｲﾑ  :    .00");
  game->CurrentStage = 0;
  ShowSelectResult(*game);
  lines = Typed(25);
  EXPECT_EQ(lines[3], "  /BEST   : ");
  EXPECT_EQ(lines[5], " /ｲﾏﾉﾀｲﾑ  :    .00");
}

TEST_F(ResultScreensTest, FailureNamesEachCause) {
  struct Cause {
    uint8_t outcome;
    const char* line2;
    const char* line4;
    const char* line6;
  };
  for (const Cause& c : {
           Cause{1, "     /ﾀｲﾑｵｰﾊﾞｰ ﾀﾞ", "　 ﾓｯﾄｼﾞﾝｿｸﾅ ｺｳﾄﾞｳｦ", "        ﾓﾄﾒﾙ"},
           Cause{2, "", "  /ﾀﾃﾓﾉﾔ ｼﾞﾒﾝﾆﾊ ｷｦﾂｹﾃｸﾚ", ""},
           Cause{3, "", "      /ﾊﾝﾆﾝﾉ ﾐｻｲﾙﾊ", " ﾂｲﾋﾞ　ｼﾃｸﾙﾉﾃﾞ　ｷｦﾂｹﾃｸﾚ"},
           Cause{4, "", "   ｷｭｳｼﾞｮｽﾙ ﾋﾄｼﾞﾁ ｦ", "    ﾂﾌﾞｼﾃ ﾄﾞｰｽﾙﾉﾀﾞ !"},
           Cause{5, "   /ｲｯﾃｲﾉ ｿｸﾄﾞ ｲｼﾞｮｳﾃﾞ", "  ﾁｬｸﾘｸ ｽﾙﾄ ﾍﾘﾊ ﾀｲﾊ ｽﾙ", "        ｷｦﾂｹﾃｸﾚ"},
           Cause{6, "", "      /ｶﾐｶｾﾞﾉﾂﾓﾘｶ?", "   &ﾓｯﾄ ｲﾉﾁｦ ﾀｲｾﾂﾆ ｼﾛ"},
           Cause{0, "", "", ""},
           Cause{7, "", "", ""},
       }) {
    const Lines lines = Failure(c.outcome);
    EXPECT_EQ(lines[0], "      &ｶﾌﾞﾛﾅ ｼｯﾊﾟｲ") << int{c.outcome};
    EXPECT_EQ(lines[2], c.line2) << int{c.outcome};
    EXPECT_EQ(lines[4], c.line4) << int{c.outcome};
    EXPECT_EQ(lines[6], c.line6) << int{c.outcome};
    for (size_t i : {1u, 3u, 5u, 7u, 8u, 9u}) {
      EXPECT_EQ(lines[i], "") << int{c.outcome} << " line " << i;
    }
  }
}

TEST_F(ResultScreensTest, FailureExplodesTheHelicopterThenTypesAndSilencesItself) {
  BurstWatch watch;
  watch.game = game.get();
  platform->sleepHook = &watch;
  HeliRecord& heli = game->Heli;
  heli.X = 300;
  heli.Y = 200;
  heli.Pics[kHeliPic]->Move(310, 205);
  heli.Pics[kHeliPic]->Visible = true;
  heli.Pics[kLadderPic]->Visible = true;
  game->StageSelectPlay = kTrue;

  Failure(2);
  platform->sleepHook = nullptr;

  ASSERT_EQ(watch.frames.size(), 2u);
  EXPECT_TRUE(watch.frames[0].small);
  EXPECT_FALSE(watch.frames[0].large);
  EXPECT_FALSE(watch.frames[1].small);
  EXPECT_TRUE(watch.frames[1].large);
  for (const BurstWatch::Frame& f : watch.frames) {
    EXPECT_EQ(f.left, 300);
    EXPECT_EQ(f.top, 200);
    EXPECT_FALSE(f.heli) << "the helicopter is gone before the first burst";
  }
  EXPECT_FALSE(heli.Pics[kSmallBurstPic]->Visible);
  EXPECT_FALSE(heli.Pics[kLargeBurstPic]->Visible);
  EXPECT_FALSE(heli.Pics[kHeliPic]->Visible);
  EXPECT_FALSE(heli.Pics[kLadderPic]->Visible);
  EXPECT_EQ(game->StageSelectPlay, kFalse);
  ExpectWindowCentred(true);

  // The pan follows the helicopter's picture (2 * 310 - 800), not Heli.X.
  const std::vector<std::string> expected{
      "force start 1", "force stop 2", "sound pan -180", "sound rewind", "sound play",
      "message",       "waited",       "sound stop",     "sound pan 0",  "force stop 1",
  };
  EXPECT_EQ(recorder.Story(), expected);
}

TEST_F(ResultScreensTest, TotalsListEveryStageAndTheTotalThenRankIt) {
  game->StageTimes = {0, 12340, 500, 3000, 4000, 5000, 6000, 7000, 8999};
  game->TotalTime = 1234560;
  game->RecordTimes[24] = 1300000;
  game->RecordTimes[25] = 1400000;
  game->RecordTimes[26] = 1500000;
  ShowTotals(*game);
  const Lines lines = Typed(5);
  const Lines expected{
      "$         ｼﾞｶﾝ",
      "  &KAVRONA 1 :  12.34",
      "  /KAVRONA 2 :    .50",
      "  &KAVRONA 3 :   3.00",
      "  /KAVRONA 4 :   4.00",
      "  &KAVRONA 5 :   5.00",
      "  /KAVRONA 6 :   6.00",
      "  &KAVRONA 7 :   7.00",
      "  /KAVRONA 8 :   9.00",
      "  &TOTALTIME : 234.56",
      lines[10],
  };
  EXPECT_EQ(lines, expected);
  ExpectWindowCentred(false);
  EXPECT_EQ(game->RecordTimes[24], 1234560);
  EXPECT_EQ(game->RecordTimes[25], 1300000);
  EXPECT_NE(ReadRecordFile().find("1234560"), std::string::npos);

  const std::vector<std::string> story{"force stop 0", "force stop 1", "force stop 2", "message", "waited", "records"};
  EXPECT_EQ(recorder.Story(), story);
}

TEST_F(ResultScreensTest, TotalsOfASelectPlayAreNoRecord) {
  game->StageSelectPlay = kTrue;
  game->TotalTime = 1000;
  const auto before = game->RecordTimes;
  ShowTotals(*game);
  EXPECT_EQ(game->RecordTimes, before);
  EXPECT_TRUE(recorder.Of("records").empty());
  EXPECT_FALSE(game->screen[Pic::Picture4].Visible);
}

TEST_F(ResultScreensTest, SelectResultShowsTheBestAndTheTimeJustMade) {
  game->CurrentStage = 5;
  game->StageSelectPlay = kTrue;
  game->StageTimes[5] = 61234;
  InsertBestTime(*game, 61234, kFalse);
  EXPECT_EQ(game->RecordTimes[13], 61234) << "second of the stage's three";
  ShowSelectResult(*game);
  const Lines lines = Typed(25);
  const Lines expected{"$     ｶﾌﾞﾛﾅ ｾﾝﾀｸ", "", "", "  /BEST   :  60.00", "", " /ｲﾏﾉﾀｲﾑ  :  61.23", "", "", "", "",
                       lines[10]};
  EXPECT_EQ(lines, expected);
  ExpectWindowCentred(true);
  EXPECT_EQ(recorder.Of("waited").size(), 1u);
}

}  // namespace
}  // namespace kav
