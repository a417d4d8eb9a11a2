#pragma once

#include <string>

namespace kav {

// The dialog's slice of the game's state register.
struct DialogState {
  std::string DialogAnswer;  // what the buttons left behind; emptied as each dialog opens
};

template <class V>
void VisitVars(DialogState& s, V&& v) {
  v("DialogAnswer", s.DialogAnswer);
}

// What the player can see of the dialog window, for the runner's state.
struct DialogView {
  bool visible = false;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string focus;  // cmd(0), cmd(1), cmd(2), txtInput or txtMsg
  std::string input;  // the field's text
  int selStart = 0;
  int selLength = 0;
};

}  // namespace kav
