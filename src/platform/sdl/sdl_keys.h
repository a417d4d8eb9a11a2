#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>

namespace kav {

// The SDL scancode read for a virtual key the game polls; 0 for every other number.
int ScancodeForVk(int vk);

// The virtual-key number a key press reports to the game (the polled keys, letters, digits and
// the editing keys a text dialog needs); 0 for keys the game ignores. Letters follow the keyboard
// layout (keycode), the other keys their position (scancode).
int VkForKey(int scancode, int keycode);

// Keys held when the window loses focus must not stay down: each reads as up until the player
// releases it and presses it again. Fed with the keyboard and window events in queue order, with
// their SDL timestamps (milliseconds).
class HeldKeyFilter {
 public:
  // False when the press is not the player's: a key held since a focus loss.
  bool KeyPressed(int scancode, bool repeat);
  void KeyReleased(int scancode, uint32_t ms);
  void FocusLost(uint32_t ms);
  // Any other event.
  void OtherEvent() { releaseRun_.reset(); }
  bool Passes(int scancode) const;

  static constexpr size_t kScancodeCount = 512;
  // SDL queues its own releases and the focus loss in one go; a release further from the loss
  // than this was the player's.
  static constexpr uint32_t kLossReleaseMs = 2;

 private:
  static bool Valid(int scancode) { return scancode >= 0 && scancode < int{kScancodeCount}; }

  std::bitset<kScancodeCount> held_;
  // Keys released by the unbroken run of releases just before the current event.
  std::bitset<kScancodeCount> releaseRun_;
  std::array<uint32_t, kScancodeCount> releasedAt_{};
  std::bitset<kScancodeCount> stale_;
  std::bitset<kScancodeCount> releasedSinceLoss_;
};

}  // namespace kav
