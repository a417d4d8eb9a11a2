#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/texts.h"

namespace kav {

// The texts of the system menu and its pages, as the dialog shows them (";" ends a line), in
// the language of texts.

// The numbered list: the sound item names the switch's state, the screen item the mode it
// switches to.
std::string MenuText(const std::string& soundSwitch, int32_t fullScreenOn,
                     const Texts& texts = TextsOf(Language::kJapanese));

// The sound item's effect on the switch: ON and OFF swap, anything else stays.
std::string ToggledSoundSwitch(const std::string& soundSwitch);

inline constexpr const char* kMenuCaption = "メニュー";
inline constexpr const char* kStageChoiceCaption = "Ｋａｖｒｏｎａナンバー(１ ～ ８)の選択";
std::string StageChoiceText(const Texts& texts = TextsOf(Language::kJapanese));
// The stage an answer of the stage choice picks: 1..8 for exactly one of those digits, else 0.
int32_t ChosenStage(std::string_view answer);

inline constexpr const char* kRankingCaption = "ランキング";
inline constexpr const char* kKeyHelpCaption = "操作方法";
std::string KeyHelpText(const Texts& texts = TextsOf(Language::kJapanese));

inline constexpr const char* kVersionCaption = "バージョン情報";
// The version line with its credit, an empty line and two lines of notice, the second
// naming the record file.
std::string VersionText(int major, int minor, std::string_view recordFile);

}  // namespace kav
