#include "ui/text_field.h"

#include <algorithm>

#include "base/utf8.h"

namespace kav {

void TextField::SetText(std::string_view utf8) {
  text_ = DecodeUtf8(utf8);
  if (text_.size() > kMaxChars) text_.resize(kMaxChars);
  caret_ = anchor_ = text_.size();
}

std::string TextField::Text() const {
  return EncodeUtf8(text_);
}

void TextField::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
}

void TextField::DeleteSelection() {
  const size_t start = SelStart();
  text_.erase(start, SelLength());
  caret_ = anchor_ = start;
}

void TextField::Insert(std::u32string_view text) {
  DeleteSelection();
  const size_t room = kMaxChars - text_.size();
  const std::u32string_view fits = text.substr(0, std::min(room, text.size()));
  text_.insert(caret_, fits);
  caret_ = anchor_ = caret_ + fits.size();
}

void TextField::Backspace() {
  if (SelLength() == 0 && caret_ > 0) anchor_ = caret_ - 1;
  DeleteSelection();
}

void TextField::Delete() {
  if (SelLength() == 0 && caret_ < text_.size()) anchor_ = caret_ + 1;
  DeleteSelection();
}

void TextField::SetCaret(size_t position, bool extend) {
  caret_ = std::min(position, text_.size());
  if (!extend) anchor_ = caret_;
}

void TextField::MoveLeft(bool extend) {
  // Without Shift, a selection collapses to its start, as standard fields do.
  if (!extend && SelLength() > 0) {
    SetCaret(SelStart(), false);
  } else {
    SetCaret(caret_ > 0 ? caret_ - 1 : 0, extend);
  }
}

void TextField::MoveRight(bool extend) {
  if (!extend && SelLength() > 0) {
    SetCaret(SelStart() + SelLength(), false);
  } else {
    SetCaret(caret_ + 1, extend);
  }
}

void TextField::Home(bool extend) {
  SetCaret(0, extend);
}

void TextField::End(bool extend) {
  SetCaret(text_.size(), extend);
}

}  // namespace kav
