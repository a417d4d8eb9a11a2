#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kav {

// A one-line text field: the text, a caret and a selection, counted in characters.
class TextField {
 public:
  // Keeps a runaway paste or a stuck key from growing the field without end.
  static constexpr size_t kMaxChars = 255;

  void SetText(std::string_view utf8);
  std::string Text() const;
  bool Empty() const { return text_.empty(); }
  size_t Length() const { return text_.size(); }

  void SelectAll();
  size_t SelStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t SelLength() const { return caret_ < anchor_ ? anchor_ - caret_ : caret_ - anchor_; }
  size_t Caret() const { return caret_; }

  // Replaces the selection with the text (as much of it as fits).
  void Insert(std::u32string_view text);
  void Backspace();
  void Delete();
  // extend: Shift is held, so the selection grows from its anchor.
  void MoveLeft(bool extend);
  void MoveRight(bool extend);
  void Home(bool extend);
  void End(bool extend);
  void SetCaret(size_t position, bool extend);

 private:
  std::u32string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;

  void DeleteSelection();
};

}  // namespace kav
