#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/texts.h"
#include "base/trace.h"
#include "gfx/screen.h"
#include "platform/fonts.h"
#include "platform/joystick.h"
#include "platform/platform.h"
#include "platform/text_input.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_state.h"
#include "ui/text_field.h"

namespace kav {

// What the dialog reaches of the rest of the game.
struct DialogHost {
  Platform platform;
  Screen& screen;
  TextInput& textInput;
  Fonts* fonts;  // none: the window is drawn without its texts
  const Trace& trace;
  DialogState& state;
  DialogView& view;
  const int16_t& devicesReady;
  std::function<JoystickPoll()> pollJoystick;
  const Texts& texts;  // the language of the captions it puts in itself
};

// The buttons' captions; "&" marks the mnemonic.
inline constexpr std::array<const char*, 3> kButtonCaptions = {"はい(&Y)", "取消(&N)", "はい(&Y)"};

// The elements that keyboard focus moves through, in the window's tab order.
enum class DialogFocus { Cmd0, Cmd1, Input, Cmd2, Msg };

// frmDLG: made on first use, then only dressed, shown and hidden; its elements keep their
// settings between calls.
struct DialogWindow {
  bool exists = false;
  bool visible = false;
  bool placed = false;  // it has a top-left corner of its own
  int left = 0;         // outer top-left corner on the screen
  int top = 0;
  DialogLayout layout;
  std::string caption;
  int windowIcon = -1;  // the window's own icon: the last picture shown
  TextField input;
  std::array<std::string, 3> buttonCaptions = {kButtonCaptions[0], kButtonCaptions[1], kButtonCaptions[2]};
  std::string composition;  // an input method's text not yet committed
  bool justCommitted = false;
  DialogFocus focus = DialogFocus::Msg;
  int joystickChoice = 0;  // the button the joystick selected
  int scrollLines = 0;     // lines of a cut message scrolled out at the top
  bool waiting = false;
  bool dirty = true;
};

// Every question of the game: text (";" breaks lines), caption (empty: the icon's default,
// written back), buttons ("", "Y", "YN", "INPUT"), icon ("?", "!", "H", "F"; with "INPUT" also
// the field's first text). Returns "1" for yes, the typed text, or "" for cancel.
std::string ShowDialog(DialogWindow& w, DialogHost& host, const std::string& text, std::string& caption,
                       const std::string& buttons, const std::string& icon);

// The window's handlers, as the event step calls them.
void cmd_Click(DialogWindow& w, DialogHost& host, int index);
void Form_Activate(DialogWindow& w, DialogHost& host);
// true when the key was taken by the window before its elements.
bool Form_KeyDown(DialogWindow& w, DialogHost& host, int vk, int mods);
// false when the character is refused.
bool txtInput_KeyPress(DialogWindow& w, DialogHost& host, char32_t key);
void txtMsg_Click(DialogWindow& w, DialogHost& host);

// Where the window's parts lie, relative to its outer top-left corner.
DialogRect DialogInnerArea(const DialogWindow& w);
DialogRect DialogCloseBox(const DialogWindow& w);

// The name of a focus as the runner reports it: cmd(0), cmd(1), cmd(2), txtInput, txtMsg.
const char* DialogFocusName(DialogFocus focus);

}  // namespace kav
