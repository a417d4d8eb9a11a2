#include "game/result_screens.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "base/boolean.h"
#include "game/best_times.h"
#include "game/devices.h"
#include "game/hosts.h"
#include "game/key_wait.h"
#include "game/message_screen.h"
#include "gfx/message_window.h"
#include "records/time_text.h"

namespace kav {
namespace {

using Lines = std::array<std::string, 11>;

constexpr int32_t kClearTypingDelay = 25;
constexpr int32_t kFailureTypingDelay = 5;
constexpr int32_t kTotalsTypingDelay = 5;
constexpr int32_t kBurstFrameMs = 90;
// From this stage time on a time that ranks nowhere is called too slow.
constexpr int32_t kSlowStageMs = 50000;

struct StageComment {
  int32_t firstLimit;
  const char* firstText;
  int32_t secondLimit;
  const char* secondText;
};

// Stages 1..8: a time at or under a limit earns the stage's own comment instead of the rating.
constexpr std::array<StageComment, 8> kStageComments{{
    {2500, "     ﾀﾀﾞﾓﾉﾃﾞﾊ ﾅｲﾅ !", 2000, "       ｶ.ｶﾐﾜｻﾞﾀﾞ !"},
    {2500, "     ｼｮｳｼﾞｷ ｵﾄﾞﾛｲﾀ !", 2000, "   ｿﾝﾅ ﾀｲﾑｶﾞ ﾃﾞﾙﾉｶ ?!"},
    {5300, " ﾄﾞｳｽﾚﾊﾞ ｿﾉﾀｲﾑｶﾞ ﾃﾞﾙﾉﾀﾞ", 4300, "          ﾏｲｯﾀ !"},
    {5000, "     ﾓｼｶｽﾙﾄ ﾌﾟﾛ ﾅﾉｶ ?", 4000, "       ｷﾐﾊ ｶﾐ ﾅﾉｶ ?"},
    {5000, "       ｼ. ｼﾝｼﾞﾗﾚﾝ !", 4000, "    ｵﾚﾆ ﾃｸﾆｯｸｦ ｵｼｴﾃｸﾚ !"},
    {12000, "    ｿﾝﾅ ｺﾄｶﾞ ﾃﾞｷﾙ ﾉｶ ?", 11000, "       ｷﾐﾊ ﾅﾆﾓﾉﾀﾞ ?!"},
    {16000, "         ｵｿﾙﾍﾞｼ", 14000, "       ﾓﾊﾔ ﾃﾞﾝｾﾂﾀﾞ"},
    {5000, "          ! ! !", 4000, "  ﾓﾊﾔ ﾀﾞﾚﾓ ｺｴﾗﾚﾅｲ ﾀﾞﾛｳ"},
}};

struct FailureText {
  const char* line2;
  const char* line4;
  const char* line6;
};

// By StageOutcome 1..6.
constexpr std::array<FailureText, 6> kFailureTexts{{
    {"     /ﾀｲﾑｵｰﾊﾞｰ ﾀﾞ", "　 ﾓｯﾄｼﾞﾝｿｸﾅ ｺｳﾄﾞｳｦ", "        ﾓﾄﾒﾙ"},
    {"", "  /ﾀﾃﾓﾉﾔ ｼﾞﾒﾝﾆﾊ ｷｦﾂｹﾃｸﾚ", ""},
    {"", "      /ﾊﾝﾆﾝﾉ ﾐｻｲﾙﾊ", " ﾂｲﾋﾞ　ｼﾃｸﾙﾉﾃﾞ　ｷｦﾂｹﾃｸﾚ"},
    {"", "   ｷｭｳｼﾞｮｽﾙ ﾋﾄｼﾞﾁ ｦ", "    ﾂﾌﾞｼﾃ ﾄﾞｰｽﾙﾉﾀﾞ !"},
    {"   /ｲｯﾃｲﾉ ｿｸﾄﾞ ｲｼﾞｮｳﾃﾞ", "  ﾁｬｸﾘｸ ｽﾙﾄ ﾍﾘﾊ ﾀｲﾊ ｽﾙ", "        ｷｦﾂｹﾃｸﾚ"},
    {"", "      /ｶﾐｶｾﾞﾉﾂﾓﾘｶ?", "   &ﾓｯﾄ ｲﾉﾁｦ ﾀｲｾﾂﾆ ｼﾛ"},
}};

// Lines 1..9 of the totals; the colours alternate red and orange.
constexpr std::array<const char*, 9> kTotalsLabels{
    "  &KAVRONA 1 : ", "  /KAVRONA 2 : ", "  &KAVRONA 3 : ", "  /KAVRONA 4 : ", "  &KAVRONA 5 : ",
    "  /KAVRONA 6 : ", "  &KAVRONA 7 : ", "  /KAVRONA 8 : ", "  &TOTALTIME : ",
};

bool StageInRange(int32_t s) {
  return s >= 1 && s <= 8;
}

// A stage number outside 1..8 has no time and no table entries; the screens then show what
// they can instead of reading past the arrays.
int32_t StageTime(const Game& g, int32_t s) {
  return StageInRange(s) ? g.StageTimes[static_cast<size_t>(s)] : 0;
}

std::optional<int32_t> StageRecord(const Game& g, int32_t s, int rank) {
  if (!StageInRange(s)) {
    return std::nullopt;
  }
  const int32_t index = 3 * s - 3 + rank;
  return g.RecordTimes[static_cast<size_t>(index)];
}

bool AtMostRecord(const Game& g, int32_t s, int rank, int32_t t) {
  const std::optional<int32_t> record = StageRecord(g, s, rank);
  return record.has_value() && t <= *record;
}

std::string BestTimeText(const Game& g, int32_t s) {
  const std::optional<int32_t> best = StageRecord(g, s, 0);
  return best.has_value() ? TimeText(*best) : std::string();
}

Control* HeliPic(Game& g, int i) {
  return g.Heli.Pics[static_cast<size_t>(i)];
}

// Centred, one event pass, typed with the prompt, then the plain wait without limit.
void ShowLines(Game& g, Lines& lines, int32_t delay) {
  CentreMessageWindow(g);
  g.screen.DoEvents();
  MessageHost host = Messages(g);
  TypeMessage(host, lines, kTrue, delay);
  int32_t ticks = -1;
  WaitKey(g, ticks);
}

void Burst(Game& g, int i) {
  Control* burst = HeliPic(g, i);
  if (burst == nullptr) {
    return;
  }
  burst->Move(g.Heli.X, g.Heli.Y);
  burst->Visible = true;
  g.screen.DoEvents();
  g.platform.clock.Sleep(kBurstFrameMs);
  burst->Visible = false;
}

}  // namespace

void ShowStageClear(Game& g) {
  const int32_t s = g.CurrentStage;
  const int32_t t = StageTime(g, s);
  // Line 1 only switches the lines after it to orange.
  Lines lines{g.texts("      $ｶﾌﾞﾛﾅ ｾｲｺｳ     "), "/"};

  // The table already holds t when it ranked, so the first row is "as fast as the best".
  if (AtMostRecord(g, s, 0, t)) {
    lines[2] = g.texts("        ｽﾊﾞﾗｼｲ !!");
    lines[4] = g.texts("  ﾀﾞﾚﾓｶﾞ ﾐﾄﾒﾙ ｳﾃﾞﾏｴﾀﾞ");
  } else if (AtMostRecord(g, s, 1, t)) {
    lines[2] = g.texts("     ﾅｶﾅｶ ﾔﾙﾃﾞﾊﾅｲｶ !");
    lines[4] = g.texts("ﾂｷﾞﾊ ﾓｯﾄ ｺｳﾀｲﾑｦ ﾈﾗｯﾃﾐﾃｸﾚ");
  } else if (AtMostRecord(g, s, 2, t)) {
    lines[2] = g.texts("     ﾌﾞﾅﾝﾅ ﾀｲﾑ ﾀﾞﾅ");
    lines[4] = g.texts(" ｷﾐﾅﾗ ｲｲﾀｲﾑｶﾞ ﾀﾞｾﾙ ﾊｽﾞﾀﾞ");
  } else if (t >= kSlowStageMs) {
    lines[2] = g.texts("    ｼﾞｶﾝｶﾞ　ｶｶﾘｽｷﾞﾀﾞ");
    lines[4] = g.texts("   ﾓｯﾄ ｽﾊﾞﾔｲ　ｺｳﾄﾞｳｦ !");
  } else {
    lines[2] = g.texts("      ｺﾞｸﾛｳﾃﾞｱｯﾀ");
    lines[4] = g.texts("  ｷﾐﾉ ﾃﾞｰﾀﾊ　ｲｶﾉ　ﾄｵﾘﾀﾞ   ");
  }

  if (StageInRange(s)) {
    const StageComment& comment = kStageComments[static_cast<size_t>(s - 1)];
    if (t <= comment.firstLimit) {
      lines[2] = g.texts(comment.firstText);
      lines[4] = "";
      if (t <= comment.secondLimit) {
        lines[2] = g.texts(comment.secondText);
      }
    }
  }

  lines[6] = "    &BEST   : " + BestTimeText(g, s);
  lines[8] = g.texts("   &ｲﾏﾉﾀｲﾑ  : ") + TimeText(t);
  ShowLines(g, lines, kClearTypingDelay);
}

void ShowFailure(Game& g) {
  StartForceEffect(g, kOutOfAmmoEffect);
  StopForceEffect(g, kPunchedEffect);
  g.StageSelectPlay = kFalse;

  Control* heli = HeliPic(g, kHeliPic);
  PanSoundSlot(g, kExplosionSound, heli != nullptr ? heli->Left : 0);
  PlaySoundSlot(g, kExplosionSound, kTrue, kFalse);

  if (heli != nullptr) {
    heli->Visible = false;
  }
  if (Control* ladder = HeliPic(g, kLadderPic)) {
    ladder->Visible = false;
  }

  Burst(g, kSmallBurstPic);
  Burst(g, kLargeBurstPic);
  g.screen.DoEvents();

  Lines lines;
  lines[0] = g.texts("      &ｶﾌﾞﾛﾅ ｼｯﾊﾟｲ");
  lines[1] = "";
  const int outcome = g.StageOutcome;
  if (outcome >= kOutcomeTimeOver && outcome <= kOutcomeRammedCulprit) {
    const FailureText& text = kFailureTexts[static_cast<size_t>(outcome - 1)];
    lines[2] = g.texts(text.line2);
    lines[4] = g.texts(text.line4);
    lines[6] = g.texts(text.line6);
  }
  ShowLines(g, lines, kFailureTypingDelay);

  PlaySoundSlot(g, kExplosionSound, kFalse, kFalse);
  StopForceEffect(g, kOutOfAmmoEffect);
}

void ShowTotals(Game& g) {
  StopForceEffect(g, kConstantForceEffect);
  StopForceEffect(g, kOutOfAmmoEffect);
  StopForceEffect(g, kPunchedEffect);

  Lines lines;
  lines[0] = g.texts("$         ｼﾞｶﾝ");
  for (size_t k = 1; k <= 8; ++k) {
    lines[k] = kTotalsLabels[k - 1] + TimeText(g.StageTimes[k]);
  }
  lines[9] = kTotalsLabels[8] + TimeText(g.TotalTime);
  ShowLines(g, lines, kTotalsTypingDelay);
  g.screen[Pic::Picture4].Visible = false;

  // A stage played from the menu is no run: its total is not a record.
  if (g.StageSelectPlay == kFalse) {
    InsertBestTime(g, g.TotalTime, kTrue);
  }
}

void ShowSelectResult(Game& g) {
  const int32_t s = g.CurrentStage;
  Lines lines;
  lines[0] = g.texts("$     ｶﾌﾞﾛﾅ ｾﾝﾀｸ");
  lines[3] = "  /BEST   : " + BestTimeText(g, s);
  lines[5] = g.texts(" /ｲﾏﾉﾀｲﾑ  : ") + TimeText(StageTime(g, s));
  ShowLines(g, lines, kClearTypingDelay);
}

}  // namespace kav
