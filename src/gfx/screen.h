#pragma once

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "gfx/pics.h"
#include "gfx/region.h"
#include "gfx/surface.h"
#include "platform/event_pump.h"
#include "platform/platform.h"

namespace kav {

// Where a surface not in use waits: just below the visible area.
constexpr int32_t kParkLeft = 0;
constexpr int32_t kParkTop = 601;

// One picture box: its own persistent pixels, placed on the main window.
struct Control {
  std::string Name;
  Surface Image;  // its size is the control's width and height
  // The artwork it was loaded with, kept so that it can be drawn back (the message window's frame).
  Surface Picture;
  int32_t Left = 0;
  int32_t Top = 0;
  bool Visible = false;
  bool OnScreen = true;          // off-screen sheets are never drawn
  uint32_t BackColour = kBlack;  // what Clear and a larger size fill with
  std::optional<Region> Shape;   // only the region's pixels show, when set
  std::function<void()> OnClick;
  // Takes the click's position inside the box instead, when set.
  std::function<void(int x, int y)> OnClickAt;

  int32_t Width() const { return Image.Width(); }
  int32_t Height() const { return Image.Height(); }
  void Move(int32_t left, int32_t top) {
    Left = left;
    Top = top;
  }
  void Park() { Move(kParkLeft, kParkTop); }
  void Clear() { Image.Fill(BackColour); }
  bool HitTest(int x, int y) const;
};

// The main window: its picture boxes in z-order, the compositor that draws them into one
// frame, and the event step.
class Screen final : public EventPump {
 public:
  explicit Screen(Platform platform);
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  Control& operator[](Pic id) { return controls_[static_cast<size_t>(id)]; }
  const Control& operator[](Pic id) const { return controls_[static_cast<size_t>(id)]; }

  // Draws every visible on-screen picture box, bottom to top, into an 800 x 600 frame; what
  // no box covers keeps its pixels. The frame is none of the boxes' own surfaces.
  void Compose(Surface& frame) const;
  // Shows the current picture at once.
  void Refresh();
  // Runs pending window events once: clicks go to the topmost picture box under the
  // pointer, a close of the window to onClose; presents the frame if anything changed.
  void DoEvents() override;

  // The player closed the main window.
  std::function<void()> onClose;
  // Key presses and committed text, for the dialog.
  std::function<void(const PlatformEvent&)> onKeyEvent;
  // While set, clicks reach this picture box only: the rest of the window waits behind a
  // question, as behind a modal form.
  std::optional<Pic> modal;

  Platform& platform() { return platform_; }
  const Surface& Frame() const { return frame_; }

 private:
  Platform platform_;
  std::array<Control, static_cast<size_t>(Pic::Count)> controls_;
  std::array<Pic, static_cast<size_t>(Pic::Count)> zOrder_{};
  std::deque<PlatformEvent> pending_;
  Surface frame_;
  uint64_t presentedStamp_ = 0;
  bool presentedOnce_ = false;

  uint64_t Stamp() const;
  void Dispatch(const PlatformEvent& e);
};

}  // namespace kav
