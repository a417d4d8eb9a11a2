#include "stages/stage_table.h"

#include <cstddef>

namespace kav {
namespace {

// Half-width katakana briefings; "$", "&" and "/" switch the message window's colour band.
constexpr std::array<StageInfo, 8> kStages = {{
    {303, 365, 274, 0, kFalse,
      {"&       KAVRONA 1",
       "",
       "$ﾊﾝﾆﾝｶﾞ ｺｳｿｳﾋﾞﾙﾆ ｼﾝﾆｭｳｼﾀ",
       "",
       "  ｼｷｭｳ ｾﾝﾀｰﾋﾞﾙｵｸｼﾞｮｳｶﾗ",
       "",
       "        ｶｸﾆﾝｾﾖ  ",
       ""}},
    {580, 0, 330, 343, kTrue,
      {"&       KAVRONA 2",
       "",
       "/     ｿｹﾞｷｷｮｶ ｶﾞ ｵﾘﾀ",
       "",
       "     ｼｷｭｳ 19ｶｲﾆ ｲﾙ",
       "",
       "     ﾊﾝﾆﾝｦ ｿｹﾞｷ ｾﾖ",
       ""}},
    {116, 163, 351, 0, kFalse,
      {"&       KAVRONA 3",
       "/        ﾈﾝﾘｮｳ ｶﾞ",
       "",
       "        ﾌｿｸｼﾃｲﾙ",
       "",
       "     ﾎﾝﾌﾞ ｵｸｼﾞｮｳ ﾆﾃ",
       "",
       "        ﾎｷｭｳｾﾖ!"}},
    {601, 609, 85, 0, kFalse,
      {"&       KAVRONA 4",
       "/    ｺｳｿｳﾋﾞﾙﾉ ｵｸｼﾞｮｳﾆ",
       "",
       "ﾋﾄｼﾞﾁｶﾞ ﾉｶﾞﾚﾀ ﾄﾉ ｼﾞｮｳﾎｳ",
       "",
       "     ｵｸｼﾞｮｳﾃﾞ ﾀｲｷｼ",
       "",
       "     ﾋﾄｼﾞﾁｦ ﾎｺﾞ ｾﾖ"}},
    {230, 275, 525, 0, kFalse,
      {"&       KAVRONA 5",
       "/    ｼﾀﾃﾞ ｷｭｳｼﾞｮﾃｲｶﾞ",
       "",
       "       ﾀｲｷ ｼﾃｲﾙ",
       "",
       "     ﾎｺﾞｼﾀ ﾋﾄｼﾞﾁ ｦ",
       "",
       "  ｷｭｳｼﾞｮﾃｲ ﾏﾃﾞ ｲｿｳ ｾﾖ"}},
    {580, 600, 290, 305, kTrue,
      {"&       KAVRONA 6",
       "/    ﾊﾝﾆﾝﾊ ﾌｸｽｳ ｲﾙ ﾄﾉ ",
       "",
       "      ｼﾞｮｳﾎｳｶﾞ ﾊｲｯﾀ",
       "",
       "    ｽｶﾞﾀ ｦ ﾐｾﾀ ﾊﾝﾆﾝｦ",
       "",
       "      ｿｹﾞｷ ｾﾖ(3ﾆﾝ)"}},
    {740, 0, 93, 109, kTrue,
      {"&       KAVRONA 7",
       "&    ﾀｲｸｳﾍｲｷｦ ﾓｯﾀ",
       "",
       "  ｼｭﾊﾝｶﾞ ｵｸｼﾞｮｳﾆ ｱﾗﾜﾚﾀ",
       " ",
       "    ﾃｷﾉ ｺｳｹﾞｷｦ ｻｹ",
       "",
       "       ｵｳｾﾝ ｼﾃｸﾚ"}},
    {230, 275, 525, 0, kFalse,
      {"&       KAVRONA 8",
       "",
       "       ﾆﾝﾑｶﾝﾘｮｳ",
       "",
       "    ｷｭｳｼﾞｮﾃｲﾆ ﾁｬｸﾘｸｼ",
       "",
       "       ﾎｳｺｸ ｼﾃｸﾚ",
       ""}},
}};

}  // namespace

const StageInfo& StageTable(int32_t stage) { return kStages[static_cast<std::size_t>(stage - 1)]; }

const char* const kShortOfAmmunitionLine = "/    ﾈﾝﾘｮｳ ﾄ ﾀﾞﾝﾔｸ ｶﾞ";

}  // namespace kav
