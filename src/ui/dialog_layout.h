#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

struct DialogRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
  bool operator==(const DialogRect&) const = default;
};

// The window's own frame around its inner area.
constexpr int kDialogBorder = 3;
constexpr int kDialogTitleHeight = 19;
constexpr int kDialogMaxLines = 50;

// Everything ShowDialog sizes from its arguments, in pixels of the window's inner area (the
// frames, the text, the field, the buttons) and of the screen (the window's outer size).
struct DialogLayout {
  std::vector<std::string> lines;  // n lines, at most 50
  int n = 0;                       // line count
  int m = 0;                       // the widest line in bytes
  int Tw = 0;
  int Th = 0;
  DialogRect shp0;
  DialogRect txtMsg;
  DialogRect shp1;
  DialogRect txtInput;
  std::array<DialogRect, 3> cmd;
  std::array<bool, 3> cmdVisible{};
  bool inputVisible = false;
  int defaultButton = -1;  // index into cmd, -1: none
  int outerWidth = 0;
  int outerHeight = 0;
  int innerWidth = 0;
  int iconIndex = -1;          // imgIcon(0..3), -1: none
  std::string defaultCaption;  // the icon's
  // How far a window taller than the screen was shortened, at the message; the message
  // then scrolls so that the buttons stay on the screen.
  int cutHeight = 0;
};

// The width of a line in bytes as the dialog counts them: ASCII and half-width katakana 1,
// every other character 2.
int DialogByteWidth(std::string_view utf8);

// Splits at ";" into at most 50 lines; text past the 50th line's end stays on line 50.
std::vector<std::string> SplitDialogLines(std::string_view text);

// The layout for these arguments, as the game sizes its dialog.
DialogLayout LayOutDialog(std::string_view text, std::string_view buttons, std::string_view icon);

// Shortens a layout that does not fit a screen of screenHeight pixels: the message area gives
// up the difference and everything below it moves up.
void FitDialogToScreen(DialogLayout& layout, int screenHeight);

}  // namespace kav
