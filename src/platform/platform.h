#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// In the window system's units (pixels here).
struct WindowRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const WindowRect&) const = default;
};

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

// Everything the game needs from the operating system. Game code never sees SDL.
class Platform {
 public:
  virtual ~Platform() = default;

  // Time: signed 32-bit milliseconds, wrapping like the system tick counter.
  virtual int32_t Ticks() = 0;
  virtual void Sleep(int32_t ms) = 0;
  // The local calendar date and the seconds since local midnight.
  virtual void LocalDate(int& month, int& day) = 0;
  virtual double SecondsSinceMidnight() = 0;

  // Events: window events since the last call, in order. Held keys are already cleared for a
  // focus loss by the time it is reported.
  virtual std::vector<PlatformEvent> PollEvents() = 0;
  // Waits until an event is queued or the time is up, without taking anything off the queue.
  virtual void WaitForEvent(int32_t timeoutMs) = 0;

  // Keyboard: whether the key is held at this moment. Refreshes the input state without
  // taking window events off the queue.
  virtual bool KeyDown(int vk) = 0;
  // A close of the main window waits among the queued events (seen without taking it off
  // the queue), so loops that poll keys without running events can end the game too.
  virtual bool ClosePending() = 0;

  // Display.
  virtual void CreateMainWindow() = 0;  // exists but is hidden
  virtual void ShowMainWindow() = 0;
  virtual void Present(const uint32_t* frame) = 0;  // kScreenWidth x kScreenHeight, 0x00RRGGBB
  virtual void SetFullScreen(bool on) = 0;
  virtual bool IsFullScreen() = 0;
  virtual WindowRect GetWindowRect() = 0;
  virtual void SetWindowRect(const WindowRect& rect) = 0;
  virtual WindowRect DesktopRect() = 0;
  virtual void WarpMouse(int x, int y) = 0;
  // Over the area (frame pixels) the pointer takes this shape; elsewhere the usual arrow.
  // nullptr gives the arrow back everywhere.
  virtual void SetPointerOver(const PointerShape* shape, const WindowRect& area) = 0;

  // Files: the directory holding the game's pictures (data/) and sounds, ending with '/':
  // the program's own directory in a build, the share directory of an installed game.
  virtual std::string ProgramDir() = 0;
  // Where the record file is kept, ending with '/', and whether a file can be made there.
  virtual std::string RecordDir() = 0;
  virtual bool RecordDirWritable() = 0;
  // The window's icon, 0x00RRGGBB; a platform without a window ignores it.
  virtual void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) = 0;
  // True when no other copy of the game holds the lock; the lock lasts for the process.
  virtual bool AcquireSingleInstanceLock() = 0;
  // Tells the player about a fault that ends the game (a missing picture, say).
  virtual void ShowFatalMessage(const std::string& title, const std::string& text) = 0;
};

}  // namespace kav
