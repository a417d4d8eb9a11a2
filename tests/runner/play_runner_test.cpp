// A run as a script plays it: the first briefing, the clock strip, a clear and a failure.
#include <gtest/gtest.h>

#include "game/stage_setup.h"
#include "runner/runner_fixture.h"

namespace kav {
namespace {

class PlayRunnerTest : public testing::RunnerFixture {
 protected:
  // Past start-up's dialogs and the first briefing, to the moment the clock starts.
  std::string ToTheClock() const { return PastEntry() + "until wait\ntap Space\nuntil clock\n"; }
  std::vector<std::string> Lines(const TraceValue& message) const {
    std::vector<std::string> lines;
    for (const TraceValue& l : Field(message, "lines")->As<TraceValue::Array>()) lines.push_back(l.As<std::string>());
    return lines;
  }
};

TEST_F(PlayRunnerTest, TheFirstBriefingAndTheClockStrip) {
  ASSERT_EQ(Run(ToTheClock() + "frames 6\nquit\n"), 0) << errors;
  const std::vector<std::string> lines = Lines(*Find("message"));
  const std::array<std::string, 11> want = BriefingLines(*game, 1);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10),
            std::vector<std::string>(want.begin(), want.begin() + 10));
  EXPECT_EQ(Field(*Find("message"), "delay")->As<int64_t>(), 25);
  EXPECT_EQ(Field(*Find("stage"), "stage")->As<int64_t>(), 1);
  EXPECT_FALSE(Field(*Find("stage"), "restart")->As<bool>());

  // Frames come every 16 ms from the clock's start, and the strip every third of them.
  const int64_t clock = T(*Find("clock"));
  EXPECT_EQ(T(*Find("frame", 0)), clock);
  EXPECT_EQ(T(*Find("frame", 5)), clock + 5 * 16);
  EXPECT_EQ(Field(*Find("frame", 5), "n")->As<int64_t>(), 6);
  size_t strips = 0;
  for (const TraceValue& e : events) {
    if (Kind(e) != "digits" || Field(e, "target")->As<std::string>() != "picTim") continue;
    ++strips;
    EXPECT_EQ(Field(e, "text")->As<std::string>().size(), 13u);
  }
  EXPECT_EQ(strips, 2u);
}

TEST_F(PlayRunnerTest, AGentleDescentOntoTheCentreRoofClearsStageOne) {
  ASSERT_EQ(Run(ToTheClock() + "frames 60\nset Heli.X=310 Heli.Y=249 HeliVX=0 HeliVY=0.5\nuntil clear\n"
                               "until wait\ntap Space\nuntil stage\nexpect CurrentStage=2\nquit\n"),
            0)
      << errors;
  const TraceValue& clear = *Find("clear");
  EXPECT_EQ(Field(clear, "stage")->As<int64_t>(), 1);
  const int64_t time = Field(clear, "time")->As<int64_t>();
  EXPECT_GT(time, 900);
  EXPECT_LT(time, 2000) << "the 60 frames and the descent";
  const std::vector<std::string> lines = Lines(*Find("message", 1));
  EXPECT_EQ(lines[0], "      $ｶﾌﾞﾛﾅ ｾｲｺｳ     ");
  EXPECT_EQ(lines[2], "       ｶ.ｶﾐﾜｻﾞﾀﾞ !") << "under two seconds";
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[8].substr(0, lines[8].size() - 6), "   &ｲﾏﾉﾀｲﾑ  : ");
}

TEST_F(PlayRunnerTest, ACrashShowsTheFailureThenTheRetryQuestionWhoseEscapePlaysAgain) {
  ASSERT_EQ(Run(ToTheClock() + "key Right down\nuntil outcome\nkey Right up\nuntil wait\ntap Space\n"
                               "until dialog\ntap Escape\nuntil run\nquit\n"),
            0)
      << errors;
  EXPECT_EQ(Field(*Find("outcome"), "code")->As<int64_t>(), 2);
  const std::vector<std::string> lines = Lines(*Find("message", 1));
  EXPECT_EQ(lines[0], "      &ｶﾌﾞﾛﾅ ｼｯﾊﾟｲ");
  EXPECT_EQ(lines[4], "  /ﾀﾃﾓﾉﾔ ｼﾞﾒﾝﾆﾊ ｷｦﾂｹﾃｸﾚ");
  const TraceValue* retry = Find("dialog", 2);
  ASSERT_NE(retry, nullptr);
  EXPECT_EQ(Field(*retry, "text")->As<std::string>(), "　もう一度　？");
  EXPECT_EQ(Field(*retry, "buttons")->As<std::string>(), "YN");
  EXPECT_EQ(Field(*Find("answer", 2), "value")->As<std::string>(), "1");
  EXPECT_NE(Find("run", 1), nullptr) << "yes starts a new run";
}

TEST_F(PlayRunnerTest, DecliningToPlayAgainEndsTheGame) {
  ASSERT_EQ(Run(ToTheClock() + "key Right down\nuntil outcome\nkey Right up\nuntil wait\ntap Space\n"
                               "until dialog\nclose dialog\nuntil exit\n"),
            0)
      << errors;
  EXPECT_EQ(Kinds().back(), "exit");
}

}  // namespace
}  // namespace kav
