#include "platform/web/web_text_input.h"

#include "platform/web/web_js.h"

namespace kav {

void WebTextInput::Start(const CaretRect& caret) {
  active_ = true;
  MoveCaret(caret);
}

void WebTextInput::MoveCaret(const CaretRect& caret) {
  if (!active_) return;
  const int32_t r[4] = {caret.x, caret.y, caret.width, caret.height};
  kav_web_text_start(r);
}

void WebTextInput::Stop() {
  active_ = false;
  kav_web_text_stop();
}

}  // namespace kav
