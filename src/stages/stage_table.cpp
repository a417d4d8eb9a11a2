#include "stages/stage_table.h"

#include <cstddef>

namespace kav {
namespace {

// Half-width katakana briefings; "$", "&" and "/" switch the message window's colour band.
constexpr std::array<StageInfo, 8> kStages = {{
    {.GoalLeft = 303,
     .GoalRight = 365,
     .GoalTop = 274,
     .GoalBottom = 0,
     .Loaded = kFalse,
     .briefing =
         {
             "&       KAVRONA 1",
             "",
             "$ﾊﾝﾆﾝｶﾞ ｺｳｿｳﾋﾞﾙﾆ ｼﾝﾆｭｳｼﾀ",
             "",
             "  ｼｷｭｳ ｾﾝﾀｰﾋﾞﾙｵｸｼﾞｮｳｶﾗ",
             "",
             "        ｶｸﾆﾝｾﾖ  ",
             "",
         }},
    {.GoalLeft = 580,
     .GoalRight = 0,
     .GoalTop = 330,
     .GoalBottom = 343,
     .Loaded = kTrue,
     .briefing =
         {
             "&       KAVRONA 2",
             "",
             "/     ｿｹﾞｷｷｮｶ ｶﾞ ｵﾘﾀ",
             "",
             "     ｼｷｭｳ 19ｶｲﾆ ｲﾙ",
             "",
             "     ﾊﾝﾆﾝｦ ｿｹﾞｷ ｾﾖ",
             "",
         }},
    {.GoalLeft = 116,
     .GoalRight = 163,
     .GoalTop = 351,
     .GoalBottom = 0,
     .Loaded = kFalse,
     .briefing =
         {
             "&       KAVRONA 3",
             "/        ﾈﾝﾘｮｳ ｶﾞ",
             "",
             "        ﾌｿｸｼﾃｲﾙ",
             "",
             "     ﾎﾝﾌﾞ ｵｸｼﾞｮｳ ﾆﾃ",
             "",
             "        ﾎｷｭｳｾﾖ!",
         }},
    {.GoalLeft = 601,
     .GoalRight = 609,
     .GoalTop = 85,
     .GoalBottom = 0,
     .Loaded = kFalse,
     .briefing =
         {
             "&       KAVRONA 4",
             "/    ｺｳｿｳﾋﾞﾙﾉ ｵｸｼﾞｮｳﾆ",
             "",
             "ﾋﾄｼﾞﾁｶﾞ ﾉｶﾞﾚﾀ ﾄﾉ ｼﾞｮｳﾎｳ",
             "",
             "     ｵｸｼﾞｮｳﾃﾞ ﾀｲｷｼ",
             "",
             "     ﾋﾄｼﾞﾁｦ ﾎｺﾞ ｾﾖ",
         }},
    {.GoalLeft = 230,
     .GoalRight = 275,
     .GoalTop = 525,
     .GoalBottom = 0,
     .Loaded = kFalse,
     .briefing =
         {
             "&       KAVRONA 5",
             "/    ｼﾀﾃﾞ ｷｭｳｼﾞｮﾃｲｶﾞ",
             "",
             "       ﾀｲｷ ｼﾃｲﾙ",
             "",
             "     ﾎｺﾞｼﾀ ﾋﾄｼﾞﾁ ｦ",
             "",
             "  ｷｭｳｼﾞｮﾃｲ ﾏﾃﾞ ｲｿｳ ｾﾖ",
         }},
    {.GoalLeft = 580,
     .GoalRight = 600,
     .GoalTop = 290,
     .GoalBottom = 305,
     .Loaded = kTrue,
     .briefing =
         {
             "&       KAVRONA 6",
             "/    ﾊﾝﾆﾝﾊ ﾌｸｽｳ ｲﾙ ﾄﾉ ",
             "",
             "      ｼﾞｮｳﾎｳｶﾞ ﾊｲｯﾀ",
             "",
             "    ｽｶﾞﾀ ｦ ﾐｾﾀ ﾊﾝﾆﾝｦ",
             "",
             "      ｿｹﾞｷ ｾﾖ(3ﾆﾝ)",
         }},
    {.GoalLeft = 740,
     .GoalRight = 0,
     .GoalTop = 93,
     .GoalBottom = 109,
     .Loaded = kTrue,
     .briefing =
         {
             "&       KAVRONA 7",
             "&    ﾀｲｸｳﾍｲｷｦ ﾓｯﾀ",
             "",
             "  ｼｭﾊﾝｶﾞ ｵｸｼﾞｮｳﾆ ｱﾗﾜﾚﾀ",
             " ",
             "    ﾃｷﾉ ｺｳｹﾞｷｦ ｻｹ",
             "",
             "       ｵｳｾﾝ ｼﾃｸﾚ",
         }},
    {.GoalLeft = 230,
     .GoalRight = 275,
     .GoalTop = 525,
     .GoalBottom = 0,
     .Loaded = kFalse,
     .briefing =
         {
             "&       KAVRONA 8",
             "",
             "       ﾆﾝﾑｶﾝﾘｮｳ",
             "",
             "    ｷｭｳｼﾞｮﾃｲﾆ ﾁｬｸﾘｸｼ",
             "",
             "       ﾎｳｺｸ ｼﾃｸﾚ",
             "",
         }},
}};

}  // namespace

const StageInfo& StageTable(int32_t stage) {
  return kStages[static_cast<std::size_t>(stage - 1)];
}

const char* const kShortOfAmmunitionLine = "/    ﾈﾝﾘｮｳ ﾄ ﾀﾞﾝﾔｸ ｶﾞ";

}  // namespace kav
