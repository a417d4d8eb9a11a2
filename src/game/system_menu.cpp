#include "game/system_menu.h"

#include "game/devices.h"
#include "game/dialogs.h"
#include "game/key_wait.h"
#include "game/stage_setup.h"
#include "ui/ranking_text.h"
#include "ui/system_menu_text.h"

namespace kav {
namespace {

constexpr int32_t kSoundSwitchPause = 50;

std::string Ask(Game& g, const std::string& text, const char* caption, const char* buttons, const char* icon) {
  std::string c = g.texts(caption);
  return ShowDialog(g, text, c, buttons, icon);
}

// Asks until the answer is a stage number or the empty answer of the cancel button.
int16_t ChooseStage(Game& g) {
  for (;;) {
    const std::string answer = Ask(g, StageChoiceText(g.texts), kStageChoiceCaption, "INPUT", "?");
    if (answer.empty()) return kFalse;
    if (const int32_t stage = ChosenStage(answer); stage != 0) {
      g.CurrentStage = stage;
      g.StageSelectPlay = kTrue;
      return kTrue;
    }
  }
}

}  // namespace

int16_t ShowSystemMenu(Game& g) {
  g.StageSelectPlay = kFalse;
  const std::string answer = Ask(g, MenuText(g.SoundSwitch, g.FullScreenOn, g.texts), kMenuCaption, "INPUT", "?");
  if (answer.empty() || answer == "0" || answer == "?") return kTrue;

  if (answer == "1") {
    g.SoundSwitch = ToggledSoundSwitch(g.SoundSwitch);
    SaveRecords(g, g.trace);
    g.platform.clock.Sleep(kSoundSwitchPause);
  } else if (answer == "2") {
    ToggleFullScreenAndSave(g);
  } else if (answer == "3") {
    return ChooseStage(g);
  } else if (answer == "4") {
    Ask(g, RankingText(g), kRankingCaption, "Y", "F");
  } else if (answer == "5") {
    Ask(g, KeyHelpText(g.texts), kKeyHelpCaption, "Y", "F");
  } else if (answer == "6") {
    Ask(g, VersionText(KAVRONA_VERSION_MAJOR, KAVRONA_VERSION_MINOR, g.RecordFilePath), kVersionCaption, "Y", "!");
  }
  return kFalse;
}

void OpenSystemMenu(Game& g) {
  while (ShowSystemMenu(g) == kFalse) {
  }
  if (g.StageSelectPlay != kFalse) {
    int16_t restart = kTrue;
    SetUpStage(g, restart);
  }
}

void Picture1_Click(Game& g) {
  PlaySoundSlot(g, kMenuSound, kTrue, kFalse);
  OpenSystemMenu(g);
  PlaySoundSlot(g, kMenuSound, kFalse, kFalse);
}

}  // namespace kav
