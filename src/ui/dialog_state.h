#pragma once

#include <string>

#include "base/state_vars.h"

namespace kav {

// The dialog's slice of the game's state register.
#define KAV_DIALOG_STATE_VARS(VAR) \
  VAR(std::string, DialogAnswer, {}) /* what the buttons left behind; emptied as each dialog opens */

struct DialogState {
  KAV_DIALOG_STATE_VARS(KAV_DECLARE_VAR)
};

template <class V>
void VisitVars(DialogState& s, V&& v) {
  KAV_DIALOG_STATE_VARS(KAV_VISIT_VAR)
}

// What the player can see of the dialog window, for the runner's state.
#define KAV_DIALOG_VIEW_FIELDS(VAR)                                            \
  VAR(bool, visible, false)                                                    \
  VAR(int, left, 0)                                                            \
  VAR(int, top, 0)                                                             \
  VAR(int, width, 0)                                                           \
  VAR(int, height, 0)                                                          \
  VAR(std::string, focus, {}) /* cmd(0), cmd(1), cmd(2), txtInput or txtMsg */ \
  VAR(std::string, input, {}) /* the field's text */                           \
  VAR(int, selStart, 0)                                                        \
  VAR(int, selLength, 0)

struct DialogView {
  KAV_DIALOG_VIEW_FIELDS(KAV_DECLARE_VAR)
};

template <class V>
void VisitFields(DialogView& s, V&& v) {
  KAV_DIALOG_VIEW_FIELDS(KAV_VISIT_VAR)
}

}  // namespace kav
