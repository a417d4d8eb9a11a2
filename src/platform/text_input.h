#pragma once

namespace kav {

// A caret's rectangle in frame pixels: where an input method shows its candidates.
struct CaretRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const CaretRect&) const = default;
};

// Typing into a text field, input methods included. While it is started, typed characters and
// compositions arrive as TextInput and TextEditing events (key presses, with their modifiers,
// always arrive as KeyPressed events); while it is stopped, keys are only keys.
class TextInput {
 public:
  virtual ~TextInput() = default;
  virtual void Start(const CaretRect& caret) = 0;
  virtual void MoveCaret(const CaretRect& caret) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
};

// What a game without a text field needs; also the headless platform's, which tests read.
class RecordingTextInput final : public TextInput {
 public:
  void Start(const CaretRect& c) override {
    active_ = true;
    caret_ = c;
    ++starts_;
  }
  void MoveCaret(const CaretRect& c) override { caret_ = c; }
  void Stop() override { active_ = false; }
  bool Active() const override { return active_; }
  const CaretRect& Caret() const { return caret_; }
  int Starts() const { return starts_; }

 private:
  bool active_ = false;
  CaretRect caret_;
  int starts_ = 0;
};

}  // namespace kav
