#pragma once

#include "platform/sdl/sdl_display.h"
#include "platform/text_input.h"

namespace kav {

// SDL's text input: typed characters and the input method's compositions, with the
// candidate window placed at the caret.
class SdlTextInput final : public TextInput {
 public:
  explicit SdlTextInput(SdlDisplay& display) : display_(display) {}
  void Start(const CaretRect& caret) override;
  void MoveCaret(const CaretRect& caret) override;
  void Stop() override;
  bool Active() const override { return active_; }

 private:
  SdlDisplay& display_;
  bool active_ = false;
};

}  // namespace kav
