#pragma once

#include <filesystem>
#include <string>

#include "gfx/surface.h"

// Every picture of the main window, drawn by code. Each generator is deterministic.
namespace kav::artgen {

Surface MakeBackdrop();

Surface MakeHeli();
Surface MakeBurstSmall();
Surface MakeBurstLarge();
Surface MakeFlame();
Surface MakeCulprit();
Surface MakeHostage();
Surface MakeLadder();
Surface MakeBoat();
Surface MakeRing();
Surface MakeFinale();
Surface MakeEnemyMissile();
Surface MakeGunner();
Surface MakeMenuButton();
// picTotal: a plain black panel; it waits below the screen, so showing it changes nothing.
Surface MakeTotal();

Surface MakeTitleLogo();
Surface MakePartsSource();
// fontPath: a packaged Japanese pixel font (misaki gothic).
Surface MakeGlyphSheet(const std::string& fontPath);
Surface MakeMessageFrame();

// Writes the picture as dir/name in PNG; says on stderr which file failed.
bool WritePicture(const std::filesystem::path& dir, const char* name, const Surface& picture);

// The game dialog's icons and the crosshair pointer, 32 x 32 each.
Surface MakeIconQuestion();
Surface MakeIconWarning();
Surface MakeIconHelp();
Surface MakeIconEmblem();
Surface MakeCursorCross();

}  // namespace kav::artgen
