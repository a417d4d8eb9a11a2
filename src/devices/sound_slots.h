#pragma once

#include <cstdint>

namespace kav {

// The twelve sounds by slot; slot N plays kavrona_wNN.wav from the program's directory.
inline constexpr int32_t kEngineSound = 1;     // the helicopter's engine, looping through a stage
inline constexpr int32_t kExplosionSound = 2;  // a hit on a target, the lost helicopter, the title
inline constexpr int32_t kRadioSound = 3;      // loaded like the others, never played
inline constexpr int32_t kAlarmSound = 4;      // loaded like the others, never played
inline constexpr int32_t kWhooshSound = 5;     // loaded like the others, never played
inline constexpr int32_t kSuccessSound = 6;    // every clear and pad landing
inline constexpr int32_t kRifleSound = 7;      // every shot
inline constexpr int32_t kTickSound = 8;       // a typed character, a cartridge, a marker blink
inline constexpr int32_t kBriefingSound = 9;   // while a briefing is typed
inline constexpr int32_t kMenuSound = 10;      // while the system menu is open from its button
inline constexpr int32_t kBoatSound = 11;      // the rescue boat's engine in the finale
inline constexpr int32_t kLandingSound = 12;   // a touch-down on a pad or a roof

inline constexpr int32_t kFirstSound = kEngineSound;
inline constexpr int32_t kLastSound = kLandingSound;

}  // namespace kav
