#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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

// The game's icon, size x size: the helicopter over a patch of the night sky. Whole
// multiples of 64 keep the pixel blocks; other sizes are area-averaged.
Surface MakeAppIcon(int size);

}  // namespace kav::artgen

// The twelve sound effects, synthesised like the pictures are drawn.
namespace kav::artgen {

struct Clip {
  std::string name;   // the file name beside the game, kavrona_wNN.wav
  std::string about;  // one line for docs/sounds.md
  int sampleRate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved when there is more than one channel
  bool loops = false;            // the last sample runs on into the first
};

// Slots 1..12 in order. Each generator has its own fixed seed, so every build writes the same bytes.
std::vector<Clip> MakeSounds();

// Writes the clip as a 16-bit PCM WAV file; says on stderr which file failed.
bool WriteWav(const std::filesystem::path& path, const Clip& clip);

}  // namespace kav::artgen
