#include "stages/collisions.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "gfx/digits.h"
#include "stages/flight.h"

namespace kav {
namespace {

constexpr double kSoftestHardLanding = 2.5;  // a touch-down at exactly this speed is soft
constexpr int32_t kDockLine = 525;           // a helicopter seated on a boat's deck has its bottom here

int32_t ToLong(double v) {
  return static_cast<int32_t>(std::nearbyint(v));
}

bool IsCrashKey(const RunState& run, const std::string& key) {
  return key == run.CrashColours[1] || key == run.CrashColours[0];
}

// A point outside picP has no colour: it never matches a key.
std::string KeyAt(const StageHost& host, int32_t x, int32_t y) {
  const uint32_t pixel = host.screen[Pic::picP].Image.Pixel(x, y);
  return pixel == kInvalidPixel ? std::string() : ColourKey(pixel);
}

bool IsCrashAt(const StageHost& host, int32_t x, int32_t y) {
  const std::string key = KeyAt(host, x, y);
  return !key.empty() && IsCrashKey(host.run, key);
}

// Three tests against a box: the helicopter's right edge inside it, its left edge inside it,
// or the box within the helicopter's span. Each hit hides the figure; the figures have no
// bottom limit, so they are hit from anywhere below their top.
uint8_t FigureTests(const HeliRecord& h, Control& figure, uint8_t code, uint8_t result) {
  const int32_t left = figure.Left;
  const int32_t right = figure.Left + figure.Width();
  const int32_t top = figure.Top;
  const int32_t x = h.X;
  const int32_t y = h.Y;
  const int32_t w = h.Width;
  const int32_t ht = h.Height;
  const std::array<bool, 3> hits{
      x + w < right && x + w > left && y + ht >= top,
      x < right && x > left && y + ht >= top,
      x + w > right && x < left && y + ht >= top,
  };
  for (bool hit : hits) {
    if (hit) {
      result = code;
      figure.Visible = false;
    }
  }
  return result;
}

uint8_t MissileTests(const HeliRecord& h, Control& missile, uint8_t result) {
  const int32_t left = missile.Left;
  const int32_t right = missile.Left + missile.Width() - 5;
  const int32_t top = missile.Top + 3;
  const int32_t bottom = missile.Top + missile.Height() - 3;
  const int32_t x = h.X;
  const int32_t y = h.Y;
  const int32_t w = h.Width;
  const int32_t ht = h.Height;
  // Test b compares the helicopter's top with the box's top, not its bottom, as the game does.
  const std::array<bool, 3> hits{
      x + w < right && x + w > left && y + ht >= top && y <= bottom,
      x < right && x > left && y + ht >= top && y <= top,
      x + w > right && x < left && y + ht >= top && y < bottom,
  };
  for (bool hit : hits) {
    if (hit) {
      result = kOutcomeMissileHit;
      missile.Visible = false;
    }
  }
  return result;
}

// Seated on a deck or a pad: flight stops until the player lifts off.
void Rest(RunState& run) {
  run.OnPad = kTrue;
  run.PrevControls = 0;
  run.HeliVX = 0;
  run.HeliVY = 0;
}

uint8_t TouchDownOnBoat(StageHost& host, uint8_t result) {
  RunState& run = host.run;
  const HeliRecord& heli = host.gfx.Heli;
  const double cx = heli.X + heli.Width / 2.0 - 4;
  if (cx >= 230 && cx <= 275) {
    if (run.CurrentStage == 7) {
      if (run.HeliVY > kSoftestHardLanding) {
        result = kOutcomeHardLanding;
      } else {
        Rest(run);
      }
    } else if (run.HeliVY > kSoftestHardLanding) {
      result = kOutcomeHardLanding;
    } else {
      if (host.ferry) host.ferry();
      AutoClimb(host, 15);
    }
  }
  if (cx >= 655 && cx <= 710) {
    if (run.HeliVY > kSoftestHardLanding) {
      result = kOutcomeHardLanding;
    } else {
      Rest(run);
    }
  }
  return result;
}

// The pad in the top-right corner holds fuel and ammunition.
void Resupply(StageHost& host) {
  RunState& run = host.run;
  for (int32_t n = run.MagazineCount; n <= 15; ++n) {
    DrawDigits(host.screen, Pic::Picture2, "M=" + std::to_string(n), host.trace);
    PlaySoundSlot(host.sound, kTickSound, kFalse, kFalse);
    PlaySoundSlot(host.sound, kTickSound, kTrue, kFalse);
    StagePause(host, 100);
  }
  run.MagazineCount = 15;
  PlaySoundSlot(host.sound, kTickSound, kFalse, kFalse);
}

uint8_t TouchDownOnPad(StageHost& host, uint8_t result) {
  RunState& run = host.run;
  const HeliRecord& heli = host.gfx.Heli;
  if (run.HeliVY > kSoftestHardLanding) {
    result = kOutcomeHardLanding;
  } else {
    if (heli.X > 640 && heli.Y < 150) Resupply(host);
    PlaySoundSlot(host.sound, kLandingSound, kTrue, kFalse);
    run.OnPad = kTrue;
    StagePause(host, 250);
  }
  PlaySoundSlot(host.sound, kLandingSound, kFalse, kFalse);
  return result;
}

uint8_t Report(const StageHost& host, uint8_t code) {
  if (code != kOutcomeNone) host.trace.Emit("contact", [&](TraceEvent& e) { e.Add("code", code); });
  return code;
}

}  // namespace

std::string ColourKey(uint32_t pixel) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(ToColorRef(pixel)));
  return text;
}

uint8_t CheckHeliContacts(StageHost& host) {
  RunState& run = host.run;
  const HeliRecord& heli = host.gfx.Heli;
  const int32_t x = heli.X;
  const int32_t y = heli.Y;
  const double w = heli.Width;
  const double h = heli.Height;
  const std::array<std::array<int32_t, 2>, 7> points{{
      {x, y},
      {ToLong(x + w), y},
      {x, ToLong(y + h / 2)},
      {ToLong(x + w), ToLong(y + h / 2)},
      {x, ToLong(y + h)},
      {ToLong(x + w), ToLong(y + h)},
      {ToLong(x + w / 2 - 4), ToLong(y + h)},
  }};
  std::array<std::string, 7> keys;
  for (size_t i = 0; i < points.size(); ++i) keys[i] = KeyAt(host, points[i][0], points[i][1]);

  // The bottom centre only ever decides a landing.
  for (size_t i = 0; i <= 5; ++i) {
    if (!keys[i].empty() && IsCrashKey(run, keys[i])) return Report(host, kOutcomeCrash);
  }

  uint8_t result = kOutcomeNone;
  if (run.CurrentStage == 7) {
    result = MissileTests(heli, host.screen[Pic::TekiTama], result);
    result = FigureTests(heli, host.screen[Pic::TekiMen], kOutcomeRammedCulprit, result);
  }
  if (run.CurrentStage == 4) {
    result = FigureTests(heli, *heli.Pics[kHostagePic], kOutcomeHostageHit, result);
  }

  const bool onPad = !keys[5].empty() && keys[5] == run.PadColour && keys[6] == run.PadColour;
  if (!onPad) {
    if (heli.Y + heli.Height >= kDockLine && (run.CurrentStage == 6 || run.CurrentStage == 7)) {
      result = TouchDownOnBoat(host, result);
    }
  } else {
    result = TouchDownOnPad(host, result);
  }
  return Report(host, result);
}

void MissileStep(StageHost& host) {
  RunState& run = host.run;
  const HeliRecord& heli = host.gfx.Heli;
  Control& missile = host.screen[Pic::TekiTama];
  if (run.CurrentStage != 7 || !missile.Visible) return;

  if (run.MissileX >= 530) {
    missile.Move(run.MissileX, 90);
  } else {
    // The homing level uses half the helicopter's width, as the game does.
    int32_t top = missile.Top;
    if (heli.Y + heli.Width / 2.0 > top) {
      top = top + 4;
    } else {
      top = top - 4;
    }
    missile.Move(run.MissileX, top);
  }

  for (int32_t i = 0; i <= 5; ++i) {
    if (!IsCrashAt(host, missile.Left + i, missile.Top + missile.Height())) continue;
    run.MissileX = 720;
    missile.Visible = false;
    Control& small = *heli.Pics[kSmallBurstPic];
    Control& large = *heli.Pics[kLargeBurstPic];
    small.Move(missile.Left - 13, missile.Top - 10);
    small.Visible = true;
    StagePause(host, 50);
    small.Visible = false;
    large.Move(missile.Left - 10, missile.Top - 15);
    large.Visible = true;
    StagePause(host, 50);
    large.Visible = false;
    missile.Park();
    small.Park();
    large.Park();
    break;
  }

  if (run.MissileX <= 0) {
    run.MissileX = 720;
    HideAndPark(missile);
  } else {
    run.MissileX = run.MissileX - 4;
  }
}

}  // namespace kav
