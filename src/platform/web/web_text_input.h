#pragma once

#include "platform/text_input.h"

namespace kav {

// Typing through a hidden text field of the page that follows the caret, so that an input
// method opens its candidates beside it; compositions and committed text come back as events.
class WebTextInput final : public TextInput {
 public:
  void Start(const CaretRect& caret) override;
  void MoveCaret(const CaretRect& caret) override;
  void Stop() override;
  bool Active() const override { return active_; }

 private:
  bool active_ = false;
};

}  // namespace kav
