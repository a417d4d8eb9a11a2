#pragma once

#include <array>
#include <string_view>

namespace kav {

// Windows virtual-key numbers, the codes the game polls.
enum Vk : int {
  kVkReturn = 13,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkM = 77,
  kVkF4 = 115,
  // Keys only the dialog reads, as key presses.
  kVkBackSpace = 8,
  kVkTab = 9,
  kVkShift = 16,
  kVkAlt = 18,
  kVkEnd = 35,
  kVkHome = 36,
  kVkDelete = 46,
};

// Modifiers held with a key press.
constexpr int kModShift = 1;
constexpr int kModAlt = 2;

// The keys the game knows besides letters and digits: the name scripts give them and their
// positions on the keyboard as USB usage numbers (which SDL's scancodes are), the right-hand
// twin where it counts as the same key (0 for none).
struct KeyInfo {
  int vk;
  std::string_view name;
  int usage;
  int twinUsage;
  bool polled;  // read by the game's key polling, not only as a press
};
inline constexpr std::array<KeyInfo, 15> kKeys{{
    {kVkReturn, "Return", 40, 88, true},  // the keypad's Enter is a second Return
    {kVkEscape, "Escape", 41, 0, true},
    {kVkSpace, "Space", 44, 0, true},
    {kVkLeft, "Left", 80, 0, true},
    {kVkUp, "Up", 82, 0, true},
    {kVkRight, "Right", 79, 0, true},
    {kVkDown, "Down", 81, 0, true},
    {kVkF4, "F4", 61, 0, true},
    {kVkTab, "Tab", 43, 0, false},
    {kVkBackSpace, "BackSpace", 42, 0, false},
    {kVkDelete, "Delete", 76, 0, false},
    {kVkHome, "Home", 74, 0, false},
    {kVkEnd, "End", 77, 0, false},
    {kVkAlt, "LeftAlt", 226, 230, false},
    {kVkShift, "LeftShift", 225, 229, false},
}};
// Letters A..Z and the top row's digits 1..9, 0 by usage number.
constexpr int kUsageA = 4;
constexpr int kUsage1 = 30;
constexpr int kUsage0 = 39;

// The key of a script's name (Return, Escape, ..., one letter A..Z or digit 0..9); 0 for none.
int VkForKeyName(std::string_view name);

}  // namespace kav
