#include "ui/dialog_draw.h"

#include <algorithm>

#include "base/utf8.h"
#include "gfx/art_files.h"
#include "gfx/text_blit.h"
#include "ui/dialog.h"

namespace kav {
namespace {

constexpr int kMessagePx = 12;
constexpr int kFieldPx = 14;
constexpr int kTextInset = 4;  // the input field's text starts this far in

constexpr uint32_t kFace = 0xD4D0C8;
constexpr uint32_t kLight = 0xFFFFFF;
constexpr uint32_t kShade = 0x808080;
constexpr uint32_t kDark = 0x404040;
constexpr uint32_t kTitleLeft = 0x0A246A;
constexpr uint32_t kTitleRight = 0xA6CAF0;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kFieldGrey = 0x404040;
constexpr uint32_t kFrameBorder = 0x2F6F3F;
constexpr uint32_t kSelection = 0x00C000;
constexpr uint32_t kSelectedText = 0x102010;

std::string FieldText(const DialogWindow& w) {
  // The composition shows at the caret, inside the text.
  const std::u32string text = DecodeUtf8(w.input.Text());
  const size_t at = std::min(w.input.Caret(), text.size());
  return EncodeUtf8(text.substr(0, at)) + w.composition + EncodeUtf8(text.substr(at));
}

class Painter {
 public:
  Painter(Surface& s, Fonts* fonts) : s_(s), fonts_(fonts) {}

  void Rect(int x, int y, int w, int h, uint32_t c) { s_.FillRect(x, y, w, h, c); }
  void HLine(int x, int y, int w, uint32_t c) { s_.FillRect(x, y, w, 1, c); }
  void VLine(int x, int y, int h, uint32_t c) { s_.FillRect(x, y, 1, h, c); }

  // A raised or sunken edge two pixels wide.
  void Edge(int x, int y, int w, int h, bool raised) {
    const uint32_t outerLight = raised ? kFace : kShade;
    const uint32_t outerDark = raised ? kDark : kLight;
    const uint32_t innerLight = raised ? kLight : kDark;
    const uint32_t innerDark = raised ? kShade : kFace;
    HLine(x, y, w - 1, outerLight);
    VLine(x, y, h - 1, outerLight);
    HLine(x, y + h - 1, w, outerDark);
    VLine(x + w - 1, y, h, outerDark);
    HLine(x + 1, y + 1, w - 3, innerLight);
    VLine(x + 1, y + 1, h - 3, innerLight);
    HLine(x + 1, y + h - 2, w - 2, innerDark);
    VLine(x + w - 2, y + 1, h - 2, innerDark);
  }

  // A rectangle with corners rounded by `r`, a border two pixels wide, filled or not.
  void RoundFrame(int x, int y, int w, int h, int r, uint32_t border, const uint32_t* fill) {
    for (int row = 0; row < h; ++row) {
      for (int col = 0; col < w; ++col) {
        if (!InRounded(col, row, w, h, r)) continue;
        if (!InRounded(col - 2, row - 2, w - 4, h - 4, r - 2)) {
          s_.SetPixel(x + col, y + row, border);
        } else if (fill != nullptr) {
          s_.SetPixel(x + col, y + row, *fill);
        }
      }
    }
  }

  int Measure(FontFace face, int px, std::string_view text) {
    return fonts_ != nullptr ? fonts_->Measure(face, px, text) : 0;
  }

  // Draws text with its top-left at (x, y), clipped to the clip rectangle: the image is cut
  // to the rectangle, the blending is the screen's own.
  void Text(FontFace face, int px, std::string_view text, int x, int y, uint32_t colour, const DialogRect& clip) {
    if (fonts_ == nullptr || text.empty()) return;
    const TextImage image = fonts_->Render(face, px, text);
    const int left = std::max(x, clip.left);
    const int top = std::max(y, clip.top);
    const int right = std::min(x + image.width, clip.left + clip.width);
    const int bottom = std::min(y + image.height, clip.top + clip.height);
    if (left >= right || top >= bottom) return;
    TextImage cut;
    cut.width = right - left;
    cut.height = bottom - top;
    cut.coverage.reserve(static_cast<size_t>(cut.width) * static_cast<size_t>(cut.height));
    for (int row = top; row < bottom; ++row) {
      for (int col = left; col < right; ++col) cut.coverage.push_back(image.At(col - x, row - y));
    }
    BlendText(s_, left, top, cut, colour);
  }

 private:
  Surface& s_;
  Fonts* fonts_;

  static bool InRounded(int col, int row, int w, int h, int r) {
    if (col < 0 || row < 0 || col >= w || row >= h) return false;
    if (r <= 0) return true;
    const int cx = col < r ? r - col : (col >= w - r ? col - (w - r - 1) : 0);
    const int cy = row < r ? r - row : (row >= h - r ? row - (h - r - 1) : 0);
    return cx * cx + cy * cy <= r * r;
  }
};

void DrawTitleBar(Painter& p, const DialogWindow& w, int width) {
  const int x = kDialogBorder;
  const int y = kDialogBorder;
  const int barWidth = width - 2 * kDialogBorder;
  for (int col = 0; col < barWidth; ++col) {
    // Left to right from deep blue to pale blue, as title bars of the time.
    const int t = barWidth > 1 ? col * 255 / (barWidth - 1) : 0;
    auto channel = [&](int shift) {
      const int a = (kTitleLeft >> shift) & 0xFF;
      const int b = (kTitleRight >> shift) & 0xFF;
      return static_cast<uint32_t>(a + (b - a) * t / 255) << shift;
    };
    p.VLine(x + col, y, kDialogTitleHeight - 1, channel(16) | channel(8) | channel(0));
  }
  const DialogRect box = DialogCloseBox(w);
  const DialogRect captionClip{x + 4, y, box.left - x - 8, kDialogTitleHeight};
  p.Text(FontFace::Gothic, 12, w.caption, x + 4, y + 3, kLight, captionClip);
  p.Text(FontFace::Gothic, 12, w.caption, x + 5, y + 3, kLight, captionClip);  // bold

  p.Rect(box.left, box.top, box.width, box.height, kFace);
  p.Edge(box.left, box.top, box.width, box.height, true);
  // The cross of the close box, two pixels thick.
  for (int i = 0; i < 7; ++i) {
    const int cx = box.left + 4 + i;
    p.Rect(cx, box.top + 3 + i, 2, 1, kBlack);
    p.Rect(cx, box.top + 9 - i, 2, 1, kBlack);
  }
}

void DrawButton(Painter& p, const DialogRect& b, int ox, int oy, std::string_view caption, bool isDefault,
                bool focused) {
  const int x = ox + b.left;
  const int y = oy + b.top;
  p.Rect(x, y, b.width, b.height, kFace);
  if (isDefault) {
    // The default button wears a black outline around its edge.
    p.Rect(x, y, b.width, 1, kBlack);
    p.Rect(x, y + b.height - 1, b.width, 1, kBlack);
    p.Rect(x, y, 1, b.height, kBlack);
    p.Rect(x + b.width - 1, y, 1, b.height, kBlack);
    p.Edge(x + 1, y + 1, b.width - 2, b.height - 2, true);
  } else {
    p.Edge(x, y, b.width, b.height, true);
  }
  // "はい(&Y)", "Ca&ncel": the "&" marks the mnemonic, shown underlined.
  const size_t amp = caption.find('&');
  std::string shown(caption);
  std::string before;
  std::string letter;
  if (amp != std::string_view::npos && amp + 1 < caption.size()) {
    before = std::string(caption.substr(0, amp));
    letter = std::string(caption.substr(amp + 1, 1));
    shown = before + std::string(caption.substr(amp + 1));
  }
  const int textWidth = p.Measure(FontFace::Gothic, 12, shown);
  const int tx = x + (b.width - textWidth) / 2;
  const int ty = y + (b.height - 13) / 2;
  const DialogRect clip{x + 3, y + 3, b.width - 6, b.height - 6};
  p.Text(FontFace::Gothic, 12, shown, tx, ty, kBlack, clip);
  if (!letter.empty()) {
    const int ux = tx + p.Measure(FontFace::Gothic, 12, before);
    p.Rect(ux, ty + 12, std::max(1, p.Measure(FontFace::Gothic, 12, letter)), 1, kBlack);
  }
  if (focused) {
    // The dotted focus rectangle inside the edge.
    for (int i = x + 4; i < x + b.width - 4; i += 2) {
      p.Rect(i, y + 4, 1, 1, kBlack);
      p.Rect(i, y + b.height - 5, 1, 1, kBlack);
    }
    for (int j = y + 4; j < y + b.height - 4; j += 2) {
      p.Rect(x + 4, j, 1, 1, kBlack);
      p.Rect(x + b.width - 5, j, 1, 1, kBlack);
    }
  }
}

void DrawIcon(Surface& out, const Surface& icon, int x, int y) {
  if (icon.Empty()) return;
  const uint32_t key = icon.Pixel(0, 0);
  for (int row = 0; row < icon.Height(); ++row) {
    for (int col = 0; col < icon.Width(); ++col) {
      const uint32_t c = icon.Pixel(col, row);
      if (c != key) out.SetPixel(x + col, y + row, c);
    }
  }
}

}  // namespace

int DialogCaretX(const DialogWindow& w, Fonts* fonts) {
  if (fonts == nullptr) return kTextInset;
  const std::u32string text = DecodeUtf8(w.input.Text());
  const std::string before = EncodeUtf8(text.substr(0, std::min(w.input.Caret(), text.size()))) + w.composition;
  return kTextInset + fonts->Measure(FontFace::Gothic, kFieldPx, before);
}

size_t DialogCaretIndexAt(const DialogWindow& w, Fonts* fonts, int x) {
  if (fonts == nullptr) return w.input.Length();
  const std::vector<int> stops = fonts->CaretStops(FontFace::Gothic, kFieldPx, w.input.Text());
  size_t best = 0;
  for (size_t i = 0; i < stops.size(); ++i) {
    if (std::abs(stops[i] + kTextInset - x) < std::abs(stops[best] + kTextInset - x)) best = i;
  }
  return best;
}

const PointerShape& DialogPointer(const Screen& screen) {
  static PointerShape shape;
  const Surface& art = screen[Pic::picCursor].Image;
  if (shape.pixels.empty() && !art.Empty()) {
    shape.width = art.Width();
    shape.height = art.Height();
    shape.pixels = art.Pixels();
    shape.key = art.Pixel(0, 0);
    shape.hotX = std::min(art::kCursorCrossHotspot, art.Width() - 1);
    shape.hotY = std::min(art::kCursorCrossHotspot, art.Height() - 1);
  }
  return shape;
}

void DrawDialogWindow(const DialogWindow& w, const Screen& screen, Fonts* fonts, Surface& out) {
  const DialogLayout& l = w.layout;
  if (out.Width() != l.outerWidth || out.Height() != l.outerHeight) out = Surface(l.outerWidth, l.outerHeight, kFace);
  out.Fill(kFace);
  Painter p(out, fonts);
  // The fixed dialog border: raised, three pixels.
  p.Edge(0, 0, l.outerWidth, l.outerHeight, true);
  DrawTitleBar(p, w, l.outerWidth);

  const DialogRect inner = DialogInnerArea(w);
  const int ox = inner.left;
  const int oy = inner.top;

  const uint32_t black = kBlack;
  p.RoundFrame(ox + l.shp0.left, oy + l.shp0.top, l.shp0.width, l.shp0.height, 6, kFrameBorder, &black);
  if (w.windowIcon >= 0 && l.iconIndex >= 0) {
    DrawIcon(out, screen[ImgIcon(l.iconIndex)].Image, ox + 16, oy + 16);
  }
  const DialogRect msg{ox + l.txtMsg.left, oy + l.txtMsg.top, l.txtMsg.width, l.txtMsg.height};
  for (size_t i = static_cast<size_t>(w.scrollLines); i < l.lines.size(); ++i) {
    const int y = msg.top + static_cast<int>(i - static_cast<size_t>(w.scrollLines)) * 12;
    if (y >= msg.top + msg.height) break;
    p.Text(FontFace::Mincho, kMessagePx, l.lines[i], msg.left, y, kGreen, msg);
  }
  if (l.cutHeight > 0) {
    // A cut message shows a thin scroll bar at its right edge.
    const int total = static_cast<int>(l.lines.size()) * 12;
    const int barTop = msg.top + msg.height * w.scrollLines * 12 / std::max(1, total);
    const int barHeight = std::max(6, msg.height * msg.height / std::max(1, total));
    p.Rect(ox + l.shp0.left + l.shp0.width - 6, std::min(barTop, msg.top + msg.height - barHeight), 3, barHeight,
           kGreen);
  }

  if (l.inputVisible) {
    p.RoundFrame(ox + l.shp1.left, oy + l.shp1.top, l.shp1.width, l.shp1.height, 6, kFrameBorder, nullptr);
    const DialogRect field{ox + l.txtInput.left, oy + l.txtInput.top, l.txtInput.width, l.txtInput.height};
    p.Rect(field.left, field.top, field.width, field.height, kFieldGrey);
    const int ty = field.top + (field.height - 15) / 2;
    const std::string text = FieldText(w);
    p.Text(FontFace::Gothic, kFieldPx, text, field.left + kTextInset, ty, kGreen, field);
    const bool focused = w.focus == DialogFocus::Input;
    if (focused && w.input.SelLength() > 0 && w.composition.empty() && fonts != nullptr) {
      const std::vector<int> stops = fonts->CaretStops(FontFace::Gothic, kFieldPx, w.input.Text());
      const int from = stops[w.input.SelStart()];
      const int to = stops[w.input.SelStart() + w.input.SelLength()];
      const int sx = field.left + kTextInset + from;
      p.Rect(sx, field.top + 3, to - from, field.height - 6, kSelection);
      const std::u32string all = DecodeUtf8(w.input.Text());
      const std::string selected = EncodeUtf8(all.substr(w.input.SelStart(), w.input.SelLength()));
      p.Text(FontFace::Gothic, kFieldPx, selected, sx, ty, kSelectedText, field);
    }
    if (!w.composition.empty() && fonts != nullptr) {
      const std::u32string all = DecodeUtf8(w.input.Text());
      const std::string before = EncodeUtf8(all.substr(0, std::min(w.input.Caret(), all.size())));
      const int cx = field.left + kTextInset + fonts->Measure(FontFace::Gothic, kFieldPx, before);
      p.Rect(cx, field.top + field.height - 5, fonts->Measure(FontFace::Gothic, kFieldPx, w.composition), 1, kGreen);
    }
    if (focused) p.Rect(field.left + DialogCaretX(w, fonts), field.top + 4, 1, field.height - 8, kGreen);
  }

  for (int i = 0; i < 3; ++i) {
    if (!l.cmdVisible[static_cast<size_t>(i)]) continue;
    const bool focused = (i == 0 && w.focus == DialogFocus::Cmd0) || (i == 1 && w.focus == DialogFocus::Cmd1) ||
                         (i == 2 && w.focus == DialogFocus::Cmd2);
    // A focused button takes the default's outline while it has the focus.
    const bool looksDefault =
        focused || (i == l.defaultButton && (w.focus == DialogFocus::Input || w.focus == DialogFocus::Msg));
    DrawButton(p, l.cmd[static_cast<size_t>(i)], ox, oy, w.buttonCaptions[static_cast<size_t>(i)], looksDefault,
               focused);
  }
}

}  // namespace kav
