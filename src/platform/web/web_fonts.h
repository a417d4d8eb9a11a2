#pragma once

#include "platform/fonts.h"

namespace kav {

// Canvas text in the web fonts the page ships (IPA Mincho and IPA P Gothic), so that the
// dialogs look the same on every system. Each code point is drawn at its own whole-pixel
// advance, so the caret stops and the image agree; the ink is one-bit, as on the desktop.
class WebFonts final : public Fonts {
 public:
  int LineHeight(FontFace face, int pixelHeight) override;
  int Measure(FontFace face, int pixelHeight, std::string_view utf8) override;
  std::vector<int> CaretStops(FontFace face, int pixelHeight, std::string_view utf8) override;
  TextImage Render(FontFace face, int pixelHeight, std::string_view utf8) override;
};

}  // namespace kav
