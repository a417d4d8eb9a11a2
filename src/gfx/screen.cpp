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

void DrawControl(Surface& frame, const Control& c) {
  if (!c.Shape) {
    Blit(frame, c.Left, c.Top, c.Width(), c.Height(), c.Image, 0, 0);
    return;
  }
  for (const RegionRect& r : c.Shape->Rects()) {
    Blit(frame, c.Left + r.Left, c.Top + r.Top, r.Right - r.Left, r.Bottom - r.Top, c.Image, r.Left, r.Top);
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
  for (Pic id : zOrder_) {
    const Control& c = (*this)[id];
    if (c.Visible && c.OnScreen && !c.Image.Empty()) DrawControl(frame, c);
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
