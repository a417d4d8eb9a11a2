#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/keys.h"

namespace kav {

struct PlatformEvent {
  enum class Kind {
    MouseDown,       // x, y in frame pixels (0..799, 0..599)
    CloseRequested,  // the player closed the main window
    FocusLost,
    FocusGained,
    KeyPressed,   // vk and mods; queued key presses for the dialog
    TextInput,    // text: committed UTF-8 text
    TextEditing,  // text: an input method's composition, not yet committed; empty ends it
    DialogClose,  // the player closed the dialog with its close box
  };
  Kind kind = Kind::MouseDown;
  int x = 0;
  int y = 0;
  int vk = 0;
  std::string text;
  int mods = 0;  // kModShift | kModAlt held with a key press

  static PlatformEvent Click(int x, int y) { return {Kind::MouseDown, x, y, 0, {}}; }
  static PlatformEvent Close() { return {Kind::CloseRequested, 0, 0, 0, {}}; }
  static PlatformEvent Focus() { return {Kind::FocusLost, 0, 0, 0, {}}; }
  static PlatformEvent FocusBack() { return {Kind::FocusGained, 0, 0, 0, {}}; }
  static PlatformEvent Key(int vk, int mods = 0) { return {Kind::KeyPressed, 0, 0, vk, {}, mods}; }
  static PlatformEvent Text(std::string utf8) { return {Kind::TextInput, 0, 0, 0, std::move(utf8)}; }
  static PlatformEvent Compose(std::string utf8) { return {Kind::TextEditing, 0, 0, 0, std::move(utf8)}; }
  static PlatformEvent CloseDialog() { return {Kind::DialogClose, 0, 0, 0, {}}; }
};

// A pointer picture: pixels of the key colour are see-through; the hot spot is its tip.
struct PointerShape {
  std::vector<uint32_t> pixels;  // width x height, 0x00RRGGBB
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  uint32_t key = 0;
};

// The keyboard, the mouse and the window's own events (close, focus).
class Input {
 public:
  virtual ~Input() = default;
  // Window events since the last call, in order. Held keys are already cleared for a focus loss
  // by the time it is reported.
  virtual std::vector<PlatformEvent> PollEvents() = 0;
  // Waits until an event is queued or the time is up, without taking anything off the queue.
  virtual void WaitForEvent(int32_t timeoutMs) = 0;
  // Whether the key is held at this moment. Refreshes the input state without taking window
  // events off the queue.
  virtual bool KeyDown(int vk) = 0;
  // A close of the main window waits among the queued events (seen without taking it off the
  // queue), so loops that poll keys without running events can end the game too.
  virtual bool ClosePending() = 0;
  virtual void WarpMouse(int x, int y) = 0;
  // Over the area (frame pixels) the pointer takes this shape; elsewhere the usual arrow.
  // nullptr gives the arrow back everywhere.
  virtual void SetPointerOver(const PointerShape* shape, const WindowRect& area) = 0;
};

}  // namespace kav
