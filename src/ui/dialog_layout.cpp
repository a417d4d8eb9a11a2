#include "ui/dialog_layout.h"

#include <algorithm>

#include "base/utf8.h"

namespace kav {
namespace {

struct IconCode {
  std::string_view code;
  int index;
  const char* caption;
};

constexpr IconCode kIcons[] = {
    {"?", 0, "質問"},
    {"!", 1, "注意"},
    {"H", 2, "ヘルプ"},
    {"F", 3, "Orvel"},
};

}  // namespace

int DialogByteWidth(std::string_view utf8) {
  int width = 0;
  for (const char32_t c : DecodeUtf8(utf8)) width += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
  return width;
}

std::vector<std::string> SplitDialogLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (const char c : text) {
    if (c == ';' && static_cast<int>(lines.size()) < kDialogMaxLines) {
      lines.emplace_back();
    } else if (c != ';') {
      lines.back() += c;
    }
  }
  return lines;
}

DialogLayout LayOutDialog(std::string_view text, std::string_view buttons, std::string_view icon) {
  DialogLayout l;
  l.lines = SplitDialogLines(text);
  l.n = static_cast<int>(l.lines.size());
  for (const std::string& line : l.lines) l.m = std::max(l.m, DialogByteWidth(line));

  const bool oneButton = buttons.empty() || buttons == "Y";
  l.Th = std::max(12 * l.n, 32);
  l.Tw = std::max(6 * l.m, oneButton ? 40 : 100);

  for (const IconCode& i : kIcons) {
    if (i.code == icon) {
      l.iconIndex = i.index;
      l.defaultCaption = i.caption;
    }
  }

  l.shp0 = {8, 8, l.Tw + 64, l.Th + 16};
  l.txtMsg = {56, 16, l.Tw, l.Th};
  const int y0 = 8 + (l.Th + 16) + 3;
  l.shp1 = {8, y0, l.Tw + 64, 33};
  l.txtInput = {12, y0 + 3, l.Tw + 54, 25};
  for (DialogRect& b : l.cmd) b = {0, y0 + 8, 80, 25};
  l.outerWidth = l.Tw + 80;
  l.outerHeight = l.cmd[2].top + 25 + 31;
  l.innerWidth = l.outerWidth - 2 * kDialogBorder;
  const int w = l.innerWidth;
  l.cmd[0].left = w / 2 - 82;
  l.cmd[1].left = w / 2 + 2;
  l.cmd[2].left = w / 2 - 40;

  if (oneButton) {
    l.cmdVisible[2] = true;
    l.defaultButton = 2;
  } else if (buttons == "YN") {
    l.cmdVisible[0] = l.cmdVisible[1] = true;
    l.defaultButton = 0;
  } else if (buttons == "INPUT") {
    l.inputVisible = true;
    l.cmdVisible[0] = l.cmdVisible[1] = true;
    l.defaultButton = 0;
    for (DialogRect& b : l.cmd) b.top = y0 + 33;
    l.outerHeight = y0 + 33 + 25 + 31;
  }
  return l;
}

void FitDialogToScreen(DialogLayout& l, int screenHeight) {
  const int cut = l.outerHeight - screenHeight;
  if (cut <= 0) return;
  l.cutHeight = cut;
  l.outerHeight -= cut;
  l.shp0.height -= cut;
  l.txtMsg.height -= cut;
  for (DialogRect* r : {&l.shp1, &l.txtInput, &l.cmd[0], &l.cmd[1], &l.cmd[2]}) r->top -= cut;
}

}  // namespace kav
