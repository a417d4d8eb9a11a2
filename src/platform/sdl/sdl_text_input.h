#pragma once

#include "platform/sdl/sdl_platform.h"
#include "platform/text_input.h"

namespace kav {

// SDL's text input: typed characters and the input method's compositions, with the
// candidate window placed at the caret.
class SdlTextInput final : public TextInput {
 public:
  explicit SdlTextInput(SdlPlatform& platform) : platform_(platform) {}
  void Start(const CaretRect& caret) override;
  void MoveCaret(const CaretRect& caret) override;
  void Stop() override;
  bool Active() const override { return active_; }

 private:
  SdlPlatform& platform_;
  bool active_ = false;
};

}  // namespace kav
