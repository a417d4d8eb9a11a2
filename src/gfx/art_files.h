#pragma once

// File names of the generated pictures, under data/ in the program's directory.
namespace kav::art {

inline constexpr const char* kDataDir = "data/";

inline constexpr const char* kBackdrop = "backdrop.png";           // picBack 800 x 600
inline constexpr const char* kTitleLogo = "title_logo.png";        // picTitle(0) 423 x 58
inline constexpr const char* kPartsSource = "parts_source.png";    // FontSrc 655 x 131
inline constexpr const char* kGlyphSheet = "glyph_sheet.png";      // Picture3 626 x 423
inline constexpr const char* kMessageFrame = "message_frame.png";  // Picture4 625 x 376
inline constexpr const char* kHeli = "heli.png";                   // picAnimePatten(0) 48 x 23
inline constexpr const char* kBurstSmall = "burst_small.png";      // picAnimePatten(2) 48 x 32
inline constexpr const char* kBurstLarge = "burst_large.png";      // picAnimePatten(3) 48 x 32
inline constexpr const char* kFlame = "flame.png";                 // picAnimePatten(4) 24 x 10
inline constexpr const char* kCulprit = "culprit.png";             // picAnimePatten(5) 11 x 12
inline constexpr const char* kHostage = "hostage.png";             // picAnimePatten(6) 8 x 8
inline constexpr const char* kLadder = "ladder.png";               // picAnimePatten(7) 8 x 16
inline constexpr const char* kBoat = "boat.png";                   // picAnimePatten(8) 60 x 60
inline constexpr const char* kRing = "ring.png";                   // picAnimePatten(9) 64 x 64
inline constexpr const char* kFinale = "finale.png";               // picAnimePatten(10) 2 x 2
inline constexpr const char* kEnemyMissile = "enemy_missile.png";  // TekiTama 22 x 8
inline constexpr const char* kGunner = "gunner.png";               // TekiMen 16 x 16
inline constexpr const char* kMenuButton = "menu_button.png";      // Picture1 32 x 32
inline constexpr const char* kTotal = "total.png";                 // picTotal 32 x 32, parked below the screen
inline constexpr const char* kIconQuestion = "icon_question.png";  // dialog icon 32 x 32
inline constexpr const char* kIconWarning = "icon_warning.png";    // dialog icon 32 x 32
inline constexpr const char* kIconHelp = "icon_help.png";          // dialog icon 32 x 32
inline constexpr const char* kIconEmblem = "icon_emblem.png";      // dialog icon 32 x 32
inline constexpr const char* kCursorCross = "cursor_cross.png";    // pointer 32 x 32

// The window's icon, 64 x 64; optional (the window keeps the desktop's default without it).
inline constexpr const char* kWindowIcon = "icon.png";
inline constexpr int kWindowIconSize = 64;

// The crosshair's hot spot, the same in x and y: the pixel its four bars point at.
inline constexpr int kCursorCrossHotspot = 15;

struct ArtFile {
  const char* name;
  int width;
  int height;
};

inline constexpr ArtFile kAllFiles[] = {
    {kBackdrop, 800, 600},     {kTitleLogo, 423, 58}, {kPartsSource, 655, 131}, {kGlyphSheet, 626, 423},
    {kMessageFrame, 625, 376}, {kHeli, 48, 23},       {kBurstSmall, 48, 32},    {kBurstLarge, 48, 32},
    {kFlame, 24, 10},          {kCulprit, 11, 12},    {kHostage, 8, 8},         {kLadder, 8, 16},
    {kBoat, 60, 60},           {kRing, 64, 64},       {kFinale, 2, 2},          {kEnemyMissile, 22, 8},
    {kGunner, 16, 16},         {kMenuButton, 32, 32}, {kTotal, 32, 32},         {kIconQuestion, 32, 32},
    {kIconWarning, 32, 32},    {kIconHelp, 32, 32},   {kIconEmblem, 32, 32},    {kCursorCross, 32, 32},
};

}  // namespace kav::art
