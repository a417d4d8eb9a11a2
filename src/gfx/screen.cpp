#include "gfx/screen.h"

#include <algorithm>
#include <cstring>

namespace kav {
namespace {

struct Design {
  Pic id;
  const char* name;
  bool onScreen;
  uint32_t backColour;
};

// Bottom to top. Sheets that are never shown sit first; they are skipped when drawing.
constexpr Design kDesign[] = {
    {Pic::picBack, "picBack", false, kBlack},
    {Pic::FontSrc, "FontSrc", false, kBlack},
    {Pic::picBuhin, "picBuhin", false, kBlack},
    {Pic::picMask, "picMask", false, kWhite},
    {Pic::Picture3, "Picture3", false, kBlack},
    {ImgIcon(0), "imgIcon(0)", false, kBlack},
    {ImgIcon(1), "imgIcon(1)", false, kBlack},
    {ImgIcon(2), "imgIcon(2)", false, kBlack},
    {ImgIcon(3), "imgIcon(3)", false, kBlack},
    {Pic::picCursor, "picCursor", false, kBlack},
    {Pic::picP, "picP", true, kBlack},
    {Pic::picTim, "picTim", true, kBlack},
    {Pic::Picture2, "Picture2", true, kBlack},
    {Pic::picTotal, "picTotal", true, kBlack},
    {AnimePatten(10), "picAnimePatten(10)", true, kBlack},
    {AnimePatten(9), "picAnimePatten(9)", true, kBlack},
    {AnimePatten(8), "picAnimePatten(8)", true, kBlack},
    {AnimePatten(7), "picAnimePatten(7)", true, kBlack},
    {AnimePatten(6), "picAnimePatten(6)", true, kBlack},
    {AnimePatten(5), "picAnimePatten(5)", true, kBlack},
    {Pic::TekiMen, "TekiMen", true, kBlack},
    {Pic::TekiTama, "TekiTama", true, kBlack},
    {AnimePatten(4), "picAnimePatten(4)", true, kBlack},
    {AnimePatten(1), "picAnimePatten(1)", true, kBlack},
    {AnimePatten(0), "picAnimePatten(0)", true, kBlack},
    {AnimePatten(2), "picAnimePatten(2)", true, kBlack},
    {AnimePatten(3), "picAnimePatten(3)", true, kBlack},
    {Pic::Picture4, "Picture4", true, kBlack},
    {Pic::Picture1, "Picture1", true, kBlack},
    {Pic::picTitle1, "picTitle(1)", true, kBlack},
    {Pic::picTitle0, "picTitle(0)", true, kBlack},
    {Pic::frmDLG, "frmDLG", true, kBlack},
};
static_assert(std::size(kDesign) == static_cast<size_t>(Pic::Count));

// A rectangle of the frame, right and bottom exclusive.
struct Box {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};

// The part of the rectangle from (left, top) to (right, bottom) inside clip; wide enough that a
// box moved far away cannot overflow.
Box Clip(int64_t left, int64_t top, int64_t right, int64_t bottom, const Box& clip) {
  auto within = [](int64_t v, int lo, int hi) { return static_cast<int>(std::clamp<int64_t>(v, lo, hi)); };
  return {within(left, clip.Left, clip.Right), within(top, clip.Top, clip.Bottom), within(right, clip.Left, clip.Right),
          within(bottom, clip.Top, clip.Bottom)};
}

bool Overlaps(const Box& a, const Box& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Covers(const Box& outer, const Box& inner) {
  return outer.Left <= inner.Left && outer.Top <= inner.Top && outer.Right >= inner.Right &&
         outer.Bottom >= inner.Bottom;
}

// Hands draw disjoint pieces that together are box less every occluder: an unshaped box above
// writes all of its pixels later, so what lies under it need not be drawn at all.
template <class F>
void ForEachUncovered(const Box& box, const Box* occluder, const Box* end, F& draw) {
  for (; occluder != end; ++occluder) {
    const Box& o = *occluder;
    if (!Overlaps(box, o)) continue;
    const int top = std::max(box.Top, o.Top);
    const int bottom = std::min(box.Bottom, o.Bottom);
    if (box.Top < o.Top) ForEachUncovered({box.Left, box.Top, box.Right, o.Top}, occluder + 1, end, draw);
    if (o.Bottom < box.Bottom) ForEachUncovered({box.Left, o.Bottom, box.Right, box.Bottom}, occluder + 1, end, draw);
    if (box.Left < o.Left) ForEachUncovered({box.Left, top, o.Left, bottom}, occluder + 1, end, draw);
    if (o.Right < box.Right) ForEachUncovered({o.Right, top, box.Right, bottom}, occluder + 1, end, draw);
    return;
  }
  draw(box);
}

// A visible picture box and the part of the frame it may reach.
struct Drawn {
  const Control* control = nullptr;
  Box box;
};

// Copies the picture box's own pixels under box, which lies inside both the frame and the box.
void CopyBox(uint32_t* frame, int frameWidth, const Control& c, const Box& box) {
  const size_t bytes = static_cast<size_t>(box.Right - box.Left) * sizeof(uint32_t);
  const int imageWidth = c.Width();
  const uint32_t* s = c.Image.Row(box.Top - c.Top) + (box.Left - c.Left);
  uint32_t* d = frame + static_cast<size_t>(box.Top) * frameWidth + box.Left;
  for (int y = box.Top; y < box.Bottom; ++y, s += imageWidth, d += frameWidth) std::memcpy(d, s, bytes);
}

void DrawShaped(uint32_t* frame, int frameWidth, const Control& c, const Box& box, const Box* occluder,
                const Box* end) {
  auto copy = [&](const Box& piece) { CopyBox(frame, frameWidth, c, piece); };
  const int64_t left = c.Left;
  const int64_t top = c.Top;
  for (const RegionRect& r : c.Shape->Rects()) {
    const Box piece = Clip(left + r.Left, top + r.Top, left + r.Right, top + r.Bottom, box);
    if (!piece.Empty()) ForEachUncovered(piece, occluder, end, copy);
  }
}

}  // namespace

bool Control::HitTest(int x, int y) const {
  if (!Visible || !OnScreen) return false;
  const int lx = x - Left;
  const int ly = y - Top;
  if (lx < 0 || ly < 0 || lx >= Width() || ly >= Height()) return false;
  return !Shape || Shape->Contains(lx, ly);
}

Screen::Screen(Platform platform) : platform_(platform), frame_(kScreenWidth, kScreenHeight) {
  size_t z = 0;
  for (const Design& d : kDesign) {
    Control& c = (*this)[d.id];
    c.Name = d.name;
    c.OnScreen = d.onScreen;
    c.BackColour = d.backColour;
    zOrder_[z++] = d.id;
  }
}

void Screen::Compose(Surface& frame) const {
  constexpr size_t kCount = static_cast<size_t>(Pic::Count);
  const Box frameBox{0, 0, frame.Width(), frame.Height()};
  std::array<Drawn, kCount> drawn;
  size_t count = 0;
  for (Pic id : zOrder_) {
    const Control& c = (*this)[id];
    if (!c.Visible || !c.OnScreen || c.Image.Empty()) continue;
    const int64_t left = c.Left;
    const int64_t top = c.Top;
    const Box box = Clip(left, top, left + c.Width(), top + c.Height(), frameBox);
    if (!box.Empty()) drawn[count++] = {&c, box};
  }

  // The unshaped boxes from the top down; the first above[i] of them lie above drawn[i].
  std::array<Box, kCount> unshaped;
  std::array<size_t, kCount> above;
  size_t unshapedCount = 0;
  for (size_t i = count; i-- > 0;) {
    above[i] = unshapedCount;
    if (!drawn[i].control->Shape) unshaped[unshapedCount++] = drawn[i].box;
  }

  uint32_t* pixels = frame.MutablePixels().data();
  const int frameWidth = frame.Width();
  for (size_t i = 0; i < count; ++i) {
    const Control& c = *drawn[i].control;
    const Box& box = drawn[i].box;
    std::array<Box, kCount> over;
    size_t overCount = 0;
    bool hidden = false;
    for (size_t j = 0; j < above[i] && !hidden; ++j) {
      if (!Overlaps(unshaped[j], box)) continue;
      hidden = Covers(unshaped[j], box);
      over[overCount++] = unshaped[j];
    }
    if (hidden) continue;
    if (c.Shape) {
      DrawShaped(pixels, frameWidth, c, box, over.data(), over.data() + overCount);
    } else {
      auto copy = [&](const Box& piece) { CopyBox(pixels, frameWidth, c, piece); };
      ForEachUncovered(box, over.data(), over.data() + overCount, copy);
    }
  }
}

uint64_t Screen::Stamp() const {
  // FNV-1a over everything that changes the picture.
  uint64_t h = 1469598103934665603ULL;
  auto mix = [&h](uint64_t v) {
    h ^= v;
    h *= 1099511628211ULL;
  };
  for (const Control& c : controls_) {
    if (!c.OnScreen) continue;
    mix(c.Image.Version());
    mix(static_cast<uint64_t>(static_cast<uint32_t>(c.Left)) << 32 | static_cast<uint32_t>(c.Top));
    mix(static_cast<uint64_t>(c.Width()) << 32 | static_cast<uint32_t>(c.Height()));
    mix(c.Visible ? 1 : 2);
    mix(c.Shape ? c.Shape->Rects().size() + 3 : 0);
  }
  return h;
}

void Screen::Refresh() {
  Compose(frame_);
  platform_.display.Present(frame_.Pixels().data());
  presentedStamp_ = Stamp();
  presentedOnce_ = true;
}

void Screen::Dispatch(const PlatformEvent& e) {
  switch (e.kind) {
    case PlatformEvent::Kind::MouseDown:
      for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        Control& c = (*this)[*it];
        if (!c.HitTest(e.x, e.y)) continue;
        if (modal && *it != *modal) break;
        // The topmost picture box under the pointer takes the click, handler or not.
        if (c.OnClickAt) {
          c.OnClickAt(e.x - c.Left, e.y - c.Top);
        } else if (c.OnClick) {
          c.OnClick();
        }
        break;
      }
      break;
    case PlatformEvent::Kind::CloseRequested:
      if (onClose) onClose();
      break;
    case PlatformEvent::Kind::KeyPressed:
    case PlatformEvent::Kind::TextInput:
    case PlatformEvent::Kind::TextEditing:
    case PlatformEvent::Kind::DialogClose:
      if (onKeyEvent) onKeyEvent(e);
      break;
    case PlatformEvent::Kind::FocusLost:
    case PlatformEvent::Kind::FocusGained:
      break;
  }
}

void Screen::DoEvents() {
  for (PlatformEvent& e : platform_.input.PollEvents()) pending_.push_back(std::move(e));
  // A handler may run events itself (a menu opened by a click); it takes them from the same queue.
  while (!pending_.empty()) {
    PlatformEvent e = std::move(pending_.front());
    pending_.pop_front();
    Dispatch(e);
  }
  if (!presentedOnce_ || Stamp() != presentedStamp_) Refresh();
}

}  // namespace kav
