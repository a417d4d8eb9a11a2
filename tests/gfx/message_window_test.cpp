#include "gfx/message_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/boolean.h"
#include "base/game_exit.h"
#include "game/devices.h"
#include "game/game_fixture.h"
#include "game/hosts.h"
#include "game/stage_setup.h"
#include "game/startup.h"
#include "platform/headless/headless_joystick.h"

namespace kav {
namespace {

using Lines = std::array<std::string, 11>;

struct Recorder : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override { events.push_back(e); }
  int Count(const std::string& kind, const std::string& op = "") const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const TraceEvent& e) {
      return e.kind == kind && (op.empty() || e.fields[0].second.As<std::string>() == op);
    }));
  }
};

// Where a glyph lies on the sheet: its row (0..4) and its 1-based position in that row.
struct Glyph {
  int row;
  int pos;
};
constexpr Glyph kBlank{0, 1};
constexpr int kGreen = 0;
constexpr int kRed = 140;
constexpr int kOrange = 280;

class MessageWindowTest : public testing::GameFixture {
 protected:
  Recorder recorder;
  int polls = 0;
  int64_t t0 = 0;  // when start-up is over; scripted times count from here

  void SetUp() override {
    GameFixture::SetUp();
    StartUpPastTheDialogs();
    t0 = platform->Now();
    game->trace = Trace(&recorder);
    // The blank glyph is made to differ from the panel behind it, so that drawing it shows.
    Surface& sheet = game->screen[Pic::Picture3].Image;
    for (int band : {kGreen, kRed, kOrange}) sheet.FillRect(0, band, 24, 28, 0x123456 + band);
  }
  MessageHost Host() {
    MessageHost host = Messages(*game);
    auto poll = host.pollJoystick;
    host.pollJoystick = [this, poll] {
      ++polls;
      return poll();
    };
    return host;
  }
  // The virtual milliseconds the message takes.
  int64_t Type(Lines& lines, int32_t& delay, int16_t prompt = kFalse) {
    MessageHost host = Host();
    const int64_t start = platform->Now();
    TypeMessage(host, lines, prompt, delay);
    return platform->Now() - start;
  }
  int64_t Typing(Lines lines, int32_t delay = 25) { return Type(lines, delay); }

  const Control& Window() { return game->screen[Pic::Picture4]; }
  static int LineTop(int j) { return j == 0 ? 24 : 52 + 28 * j; }
  ::testing::AssertionResult Shows(int column, int line, Glyph g, int band = kGreen) {
    return Same(column, line, game->screen[Pic::Picture3].Image, 24 * (g.pos - 1), band + 28 * g.row);
  }
  // Nothing drawn there: the frame artwork shows.
  ::testing::AssertionResult Untouched(int column, int line) {
    return Same(column, line, Window().Picture, 24 * column, LineTop(line));
  }
  ::testing::AssertionResult Same(int column, int line, const Surface& src, int sx, int sy) {
    for (int y = 0; y < 28; ++y) {
      for (int x = 0; x < 24; ++x) {
        if (Window().Image.Pixel(24 * column + x, LineTop(line) + y) != src.Pixel(sx + x, sy + y)) {
          return ::testing::AssertionFailure() << "column " << column << " of line " << line << " differs";
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(MessageWindowTest, PromptLineGlyphsInGreenAfterSixBlanks) {
  Lines lines{"&AB"};
  lines[10] = "overwritten";
  int32_t delay = 0;
  Type(lines, delay, kTrue);
  EXPECT_EQ(lines[10], "      $ﾎﾞﾀﾝｦ ｵｼﾃｸﾚ");
  for (int c = 1; c <= 6; ++c) EXPECT_TRUE(Shows(c, 10, kBlank, kRed)) << "still red from line 0";
  const Glyph prompt[] = {{3, 5}, {3, 22}, {2, 16}, {3, 21}, {3, 20}, kBlank,
                          {2, 5}, {2, 12}, {2, 19}, {2, 8},  {3, 17}};
  for (int i = 0; i < 11; ++i) EXPECT_TRUE(Shows(7 + i, 10, prompt[i])) << "x " << 24 * (7 + i);
  EXPECT_TRUE(Untouched(18, 10));
  EXPECT_TRUE(Untouched(0, 10)) << "column 0 is never drawn";
}

TEST_F(MessageWindowTest, BandsCarryAcrossLinesAndStartGreenEachCall) {
  Typing({"", "&", "AB", "/C", "D", "$E"});
  EXPECT_TRUE(Untouched(1, 1)) << "a mark-up-only line draws nothing";
  EXPECT_TRUE(Shows(1, 2, {1, 1}, kRed));
  EXPECT_TRUE(Shows(2, 2, {1, 2}, kRed));
  EXPECT_TRUE(Shows(1, 3, {1, 3}, kOrange)) << "mark-up takes no column";
  EXPECT_TRUE(Shows(1, 4, {1, 4}, kOrange));
  EXPECT_TRUE(Shows(1, 5, {1, 5}, kGreen));
  Typing({"A&B$C/D"});
  EXPECT_TRUE(Shows(1, 0, {1, 1}, kGreen));
  EXPECT_TRUE(Shows(2, 0, {1, 2}, kRed));
  EXPECT_TRUE(Shows(3, 0, {1, 3}, kGreen));
  EXPECT_TRUE(Shows(4, 0, {1, 4}, kOrange));
  EXPECT_TRUE(Untouched(1, 5)) << "the window starts from its frame again";
}

TEST_F(MessageWindowTest, HalfWidthTextIsWidenedMarkByMark) {
  Typing({"ﾊﾞﾋﾟｰｧｯｮｦﾝ", "09:=*+.()[]", "udnre!?#", "Z ｱ\u3000ア"});
  const Glyph kana[] = {{3, 1}, {3, 22}, {3, 2}, {3, 23}, {0, 16}, {4, 1}, {4, 6}, {4, 9}, {3, 20}, {3, 21}};
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(Shows(1 + i, 0, kana[i])) << i;
  const Glyph signs[] = {{0, 2},  {0, 11}, {0, 12}, {0, 13}, {0, 14}, {0, 15},
                         {0, 23}, {0, 17}, {0, 18}, {0, 24}, {0, 25}};
  for (int i = 0; i < 11; ++i) EXPECT_TRUE(Shows(1 + i, 1, signs[i])) << i;
  const Glyph latin[] = {{0, 19}, {0, 20}, {0, 21}, {0, 22}, {0, 26}, {3, 24}, {3, 25}, {3, 26}};
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(Shows(1 + i, 2, latin[i])) << i;
  const Glyph mixed[] = {{1, 26}, kBlank, {2, 1}, kBlank, {2, 1}};
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Shows(1 + i, 3, mixed[i])) << i;
}

TEST_F(MessageWindowTest, CharacterInNoRowDrawsNothingButTakesItsColumnTickAndDelay) {
  const int64_t took = Typing({"AaB-C"});
  EXPECT_TRUE(Shows(1, 0, {1, 1}));
  EXPECT_TRUE(Untouched(2, 0));
  EXPECT_TRUE(Shows(3, 0, {1, 2}));
  EXPECT_TRUE(Untouched(4, 0));
  EXPECT_TRUE(Shows(5, 0, {1, 3}));
  EXPECT_EQ(took, 5 * 25);
  EXPECT_EQ(recorder.Count("sound", "play"), 5);
}

TEST_F(MessageWindowTest, GlyphsCostOneDelayAndATickSpacesTwoDelaysAndNoTick) {
  const int presents = platform->PresentCount();
  EXPECT_EQ(Typing({"ABCDE FGHIJ", "\u3000"}), 10 * 25 + 2 * 50);
  EXPECT_EQ(recorder.Count("sound", "play"), 10);
  EXPECT_EQ(platform->PresentCount() - presents, 1 + 10 + 1) << "open, one per glyph, end";
  EXPECT_EQ(polls, 12);
}

TEST_F(MessageWindowTest, EmptyMessageClearsTheWindowAndTakesNoTimeAndNoPoll) {
  Control& window = game->screen[Pic::Picture4];
  window.Image.FillRect(0, 0, 625, 376, 0xFF00FF);
  const int presents = platform->PresentCount();
  EXPECT_EQ(Typing(Lines{}), 0);
  EXPECT_EQ(polls, 0);
  EXPECT_EQ(platform->PresentCount() - presents, 2);
  EXPECT_TRUE(Window().Visible);
  EXPECT_EQ(window.Image.Pixels(), window.Picture.Pixels()) << "back to its frame";
  Typing({"&/$"});
  EXPECT_EQ(polls, 3) << "mark-up is polled after too";
}

TEST_F(MessageWindowTest, BriefingTakesItsGlyphsAndSpacesAndReportsItself) {
  // The stage-1 briefing as its set-up hands it over, with the best line of the default table.
  Lines lines = BriefingLines(*game, 1);
  int32_t delay = 25;
  const int presents = platform->PresentCount();
  // 79 glyphs and 35 blanks, the prompt's included.
  EXPECT_EQ(Type(lines, delay, kTrue), 79 * 25 + 35 * 50);
  EXPECT_EQ(delay, 25);
  EXPECT_EQ(recorder.Count("sound", "play"), 79);
  EXPECT_EQ(platform->PresentCount() - presents, 81);

  ASSERT_FALSE(recorder.events.empty());
  const TraceEvent& begun = recorder.events.front();
  EXPECT_EQ(begun.kind, "message");
  ASSERT_EQ(begun.fields.size(), 2u);
  EXPECT_EQ(begun.fields[0].first, "lines");
  const auto& texts = begun.fields[0].second.As<TraceValue::Array>();
  ASSERT_EQ(texts.size(), 11u);
  EXPECT_EQ(texts[0].As<std::string>(), lines[0]);
  EXPECT_EQ(texts[10].As<std::string>(), "      $ﾎﾞﾀﾝｦ ｵｼﾃｸﾚ");
  EXPECT_EQ(begun.fields[1].first, "delay");
  EXPECT_EQ(begun.fields[1].second.As<int64_t>(), 25);
  EXPECT_EQ(recorder.events.back().kind, "typed");
  EXPECT_TRUE(recorder.events.back().fields.empty());
}

TEST_F(MessageWindowTest, SpaceHeldFromTheStartShowsTheBriefingWithOneRefresh) {
  platform->SetKey(kVkSpace, true);
  Lines lines = BriefingLines(*game, 1);
  int32_t delay = 25;
  const int presents = platform->PresentCount();
  EXPECT_EQ(Type(lines, delay, kTrue), 120 * 10) << "every character, mark-up too, adds the pause";
  EXPECT_EQ(delay, 0);
  EXPECT_EQ(recorder.Count("sound", "play"), 0);
  EXPECT_EQ(platform->PresentCount() - presents, 2) << "the open and the end";
  EXPECT_TRUE(Shows(7, 10, {3, 5}));
}

class SkipKeyTest : public MessageWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(SkipKeyTest, SkipsAfterTheCurrentCharacterWithAPauseWhileHeld) {
  // Down while C is typed: C is the last glyph with its tick; every poll while down pauses.
  platform->HoldKey(GetParam(), t0 + 60, t0 + 1000);
  int32_t delay = 25;
  Lines lines{"ABCDEFGHIJ"};
  const int presents = platform->PresentCount();
  EXPECT_EQ(Type(lines, delay), 3 * 25 + 8 * 10);
  EXPECT_EQ(delay, 0);
  EXPECT_EQ(recorder.Count("sound", "play"), 3);
  EXPECT_EQ(platform->PresentCount() - presents, 1 + 3 + 1);
  EXPECT_TRUE(Shows(10, 0, {1, 10}));
}
INSTANTIATE_TEST_SUITE_P(SpaceAndEnter, SkipKeyTest, ::testing::Values(kVkSpace, kVkReturn));

TEST_F(MessageWindowTest, SkipPauseOnlyWhileTheKeyIsDown) {
  platform->HoldKey(kVkSpace, t0 + 60, t0 + 80);
  EXPECT_EQ(Typing({"ABCDEFGHIJ"}), 3 * 25 + 10);
}

TEST_F(MessageWindowTest, FirstJoystickButtonSkipsTheSecondDoesNot) {
  HeadlessJoystick joystick(platform->pad);
  game->joystick = &joystick;
  platform->pad.attached = true;
  InitInputDevices(*game);
  platform->onSleep = [this](HeadlessPlatform& p) { p.pad.button2 = p.Now() >= t0 + 20; };
  EXPECT_EQ(Typing({"ABCD"}), 4 * 25);
  platform->pad.button2 = false;
  platform->onSleep = [this](HeadlessPlatform& p) { p.pad.button1 = p.Now() >= t0 + 140; };
  EXPECT_EQ(Typing({"ABCD"}), 2 * 25 + 10 + 10 + 10);
}

TEST_F(MessageWindowTest, MSkipsWithoutPauseAndWithoutStoppingTheTick) {
  platform->HoldKey(kVkM, t0 + 60, t0 + 1000);
  int32_t delay = 25;
  Lines lines{"ABCDEFGHIJ"};
  EXPECT_EQ(Type(lines, delay), 3 * 25);
  EXPECT_EQ(delay, 0);
  EXPECT_EQ(recorder.Count("sound", "play"), 3);

  recorder.events.clear();
  Typing({"A"});
  EXPECT_EQ(recorder.Count("sound", "stop"), 1) << "only the stop at the end";
  platform->SetKey(kVkM, false);
  platform->SetKey(kVkSpace, true);
  recorder.events.clear();
  Typing({"A"});
  EXPECT_EQ(recorder.Count("sound", "stop"), 2);
}

TEST_F(MessageWindowTest, StopsTheTickAndRewindsItPastTheSoundSwitch) {
  game->SoundSwitch = "OFF";
  platform->SetKey(kVkSpace, true);
  Typing({"AB"});
  // The skips after A and B, B typed at delay 0 and the end: each rewinds slot 8, though the
  // switch blocks the stop.
  EXPECT_EQ(recorder.Count("sound", "stop"), 0);
  EXPECT_EQ(recorder.Count("sound", "rewind"), 4);
}

TEST_F(MessageWindowTest, EscapeEndsTheGame) {
  platform->PressKeyAt(kVkEscape, t0 + 50);
  EXPECT_THROW(Typing({"ABCDEFGHIJ"}), GameExit);
  EXPECT_EQ(platform->Now(), t0 + 50);
  EXPECT_EQ(recorder.Count("exit"), 1);
  EXPECT_EQ(recorder.Count("typed"), 0);
}

TEST_F(MessageWindowTest, ClosingTheWindowEndsTheGameThoughNoEventsRun) {
  platform->QueueEventAt(t0 + 60, PlatformEvent::Close());
  EXPECT_THROW(Typing({"ABCDEFGHIJ"}), GameExit);
  EXPECT_EQ(platform->Now(), t0 + 75);
}

TEST_F(MessageWindowTest, LinesChangedByAnEventAreTypedToTheirOldLengths) {
  Control& button = game->screen[Pic::Picture1];
  button.Move(0, 0);
  button.Visible = true;
  Lines lines{"AB", "XYZ"};
  button.OnClick = [&lines] {
    lines[0] = "CDEFG";
    lines[1] = "Q";
  };
  platform->QueueEvent(PlatformEvent::Click(5, 5));
  int32_t delay = 25;
  EXPECT_EQ(Type(lines, delay), 5 * 25);
  EXPECT_TRUE(Shows(2, 0, {1, 4}));
  EXPECT_TRUE(Untouched(3, 0));
  EXPECT_TRUE(Shows(1, 1, {1, 17}));
  EXPECT_TRUE(Untouched(2, 1)) << "past the end of the shortened line nothing is read";
}

}  // namespace
}  // namespace kav
