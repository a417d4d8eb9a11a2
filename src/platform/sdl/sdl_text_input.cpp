#include "platform/sdl/sdl_text_input.h"

#include <SDL.h>

namespace kav {

void SdlTextInput::Start(const CaretRect& caret) {
  MoveCaret(caret);
  SDL_StartTextInput();
  active_ = true;
}

void SdlTextInput::MoveCaret(const CaretRect& caret) {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  display_.FrameToWindow(caret.x, caret.y, left, top);
  display_.FrameToWindow(caret.x + caret.width, caret.y + caret.height, right, bottom);
  SDL_Rect rect{left, top, std::max(1, right - left), std::max(1, bottom - top)};
  SDL_SetTextInputRect(&rect);
}

void SdlTextInput::Stop() {
  SDL_StopTextInput();
  active_ = false;
}

}  // namespace kav
