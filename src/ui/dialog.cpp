#include "ui/dialog.h"

#include <algorithm>

#include "base/utf8.h"
#include "ui/dialog_draw.h"

namespace kav {
namespace {

// Between two passes the wait sleeps until the next event, at most this long, so that the
// joystick is still read often while an idle dialog costs next to nothing.
constexpr int32_t kWaitPassMs = 4;

constexpr DialogFocus kTabOrder[] = {DialogFocus::Cmd0, DialogFocus::Cmd1, DialogFocus::Input, DialogFocus::Cmd2,
                                     DialogFocus::Msg};

std::string TrimBlanks(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int ButtonOf(DialogFocus f) {
  switch (f) {
    case DialogFocus::Cmd0:
      return 0;
    case DialogFocus::Cmd1:
      return 1;
    case DialogFocus::Cmd2:
      return 2;
    default:
      return -1;
  }
}

DialogFocus FocusOfButton(int index) {
  return index == 0 ? DialogFocus::Cmd0 : index == 1 ? DialogFocus::Cmd1 : DialogFocus::Cmd2;
}

bool Shown(const DialogWindow& w, DialogFocus f) {
  const int button = ButtonOf(f);
  if (button >= 0) return w.layout.cmdVisible[static_cast<size_t>(button)];
  if (f == DialogFocus::Input) return w.layout.inputVisible;
  return true;
}

void UpdateView(const DialogWindow& w, DialogHost& host) {
  DialogView& v = host.view;
  v.visible = w.visible;
  const Control& c = host.screen[Pic::frmDLG];
  v.left = c.Left;
  v.top = c.Top;
  v.width = w.layout.outerWidth;
  v.height = w.layout.outerHeight;
  v.focus = DialogFocusName(w.focus);
  v.input = w.input.Text();
  v.selStart = static_cast<int>(w.input.SelStart());
  v.selLength = static_cast<int>(w.input.SelLength());
}

CaretRect CaretOnScreen(const DialogWindow& w, DialogHost& host) {
  const DialogRect inner = DialogInnerArea(w);
  const Control& c = host.screen[Pic::frmDLG];
  const int x = DialogCaretX(w, host.fonts);
  return {c.Left + inner.left + w.layout.txtInput.left + x, c.Top + inner.top + w.layout.txtInput.top + 4, 1, 17};
}

void SetFocus(DialogWindow& w, DialogHost& host, DialogFocus f) {
  if (!Shown(w, f)) return;
  w.focus = f;
  if (f == DialogFocus::Input && w.visible) {
    host.textInput.Start(CaretOnScreen(w, host));
  } else if (host.textInput.Active()) {
    host.textInput.Stop();
    w.composition.clear();
  }
  w.dirty = true;
}

void MoveFocus(DialogWindow& w, DialogHost& host, bool backwards) {
  const int count = static_cast<int>(std::size(kTabOrder));
  int at = static_cast<int>(std::find(std::begin(kTabOrder), std::end(kTabOrder), w.focus) - std::begin(kTabOrder));
  for (int step = 0; step < count; ++step) {
    at = (at + (backwards ? count - 1 : 1)) % count;
    if (Shown(w, kTabOrder[at])) {
      SetFocus(w, host, kTabOrder[at]);
      return;
    }
  }
}

void Hide(DialogWindow& w, DialogHost& host) {
  w.visible = false;
  w.composition.clear();
  if (host.textInput.Active()) host.textInput.Stop();
  Control& c = host.screen[Pic::frmDLG];
  c.Visible = false;
  host.screen.onKeyEvent = nullptr;
  host.screen.modal.reset();
  c.OnClickAt = nullptr;
  host.platform.input.SetPointerOver(nullptr, {});
  UpdateView(w, host);
}

// The button that answers yes: cmd(0) in a pair, cmd(2) alone.
int YesButton(const DialogWindow& w) {
  if (w.layout.cmdVisible[0]) return 0;
  if (w.layout.cmdVisible[2]) return 2;
  return -1;
}

void Press(DialogWindow& w, DialogHost& host, int index) {
  if (index < 0 || !w.layout.cmdVisible[static_cast<size_t>(index)]) return;
  SetFocus(w, host, FocusOfButton(index));
  cmd_Click(w, host, index);
}

// Keys the focused element takes after the window has passed them on.
void ElementKey(DialogWindow& w, DialogHost& host, int vk, int mods) {
  const bool shift = (mods & kModShift) != 0;
  if (w.focus == DialogFocus::Input) {
    if (!w.composition.empty()) return;  // the input method edits its own text
    TextField& f = w.input;
    switch (vk) {
      case kVkBackSpace:
        f.Backspace();
        break;
      case kVkDelete:
        f.Delete();
        break;
      case kVkLeft:
        f.MoveLeft(shift);
        break;
      case kVkRight:
        f.MoveRight(shift);
        break;
      case kVkHome:
        f.Home(shift);
        break;
      case kVkEnd:
        f.End(shift);
        break;
      case kVkReturn:
        txtInput_KeyPress(w, host, U'\r');
        return;
      default:
        return;
    }
    w.dirty = true;
    host.textInput.MoveCaret(CaretOnScreen(w, host));
    return;
  }
  const int button = ButtonOf(w.focus);
  if (button >= 0) {
    if (vk == kVkSpace) {
      Press(w, host, button);
    } else if (vk == kVkLeft || vk == kVkUp || vk == kVkRight || vk == kVkDown) {
      // Arrow keys walk between the shown buttons, as in any dialog.
      const bool back = vk == kVkLeft || vk == kVkUp;
      for (int step = 1; step <= 2; ++step) {
        const int next = (button + (back ? 3 - step : step)) % 3;
        if (w.layout.cmdVisible[static_cast<size_t>(next)]) {
          SetFocus(w, host, FocusOfButton(next));
          break;
        }
      }
    }
    return;
  }
  if (w.focus == DialogFocus::Msg && w.layout.cutHeight > 0 && (vk == kVkUp || vk == kVkDown)) {
    const int hidden = (w.layout.cutHeight + 11) / 12;
    w.scrollLines = std::clamp(w.scrollLines + (vk == kVkDown ? 1 : -1), 0, hidden);
    w.dirty = true;
  }
}

void TypeText(DialogWindow& w, DialogHost& host, const std::string& text) {
  if (w.focus != DialogFocus::Input) return;
  std::u32string accepted;
  for (const char32_t c : DecodeUtf8(text)) {
    if (c == U'\r' || c == U'\n') continue;
    if (txtInput_KeyPress(w, host, c)) accepted += c;
  }
  w.input.Insert(accepted);
  w.dirty = true;
  host.textInput.MoveCaret(CaretOnScreen(w, host));
}

void OnEvent(DialogWindow& w, DialogHost& host, const PlatformEvent& e) {
  if (!w.visible) return;
  const bool afterCommit = w.justCommitted;
  w.justCommitted = false;
  switch (e.kind) {
    case PlatformEvent::Kind::KeyPressed:
      // The Enter that confirms a composition belongs to the input method.
      if (e.vk == kVkReturn && (!w.composition.empty() || afterCommit)) return;
      if (!Form_KeyDown(w, host, e.vk, e.mods)) ElementKey(w, host, e.vk, e.mods);
      break;
    case PlatformEvent::Kind::TextInput:
      w.justCommitted = !w.composition.empty();
      w.composition.clear();
      TypeText(w, host, e.text);
      break;
    case PlatformEvent::Kind::TextEditing:
      if (w.focus == DialogFocus::Input) {
        w.composition = e.text;
        w.dirty = true;
      }
      break;
    case PlatformEvent::Kind::DialogClose:
      Hide(w, host);
      break;
    default:
      break;
  }
}

void OnClick(DialogWindow& w, DialogHost& host, int x, int y) {
  if (!w.visible) return;
  if (DialogCloseBox(w).Contains(x, y)) {
    Hide(w, host);
    return;
  }
  const DialogRect inner = DialogInnerArea(w);
  const int ix = x - inner.left;
  const int iy = y - inner.top;
  const DialogLayout& l = w.layout;
  for (int i = 0; i < 3; ++i) {
    if (l.cmdVisible[static_cast<size_t>(i)] && l.cmd[static_cast<size_t>(i)].Contains(ix, iy)) {
      Press(w, host, i);
      return;
    }
  }
  if (l.inputVisible && l.txtInput.Contains(ix, iy)) {
    SetFocus(w, host, DialogFocus::Input);
    w.input.SetCaret(DialogCaretIndexAt(w, host.fonts, ix - l.txtInput.left), false);
    host.textInput.MoveCaret(CaretOnScreen(w, host));
    w.dirty = true;
    return;
  }
  if (l.txtMsg.Contains(ix, iy)) {
    SetFocus(w, host, DialogFocus::Msg);
    txtMsg_Click(w, host);
  }
}

void Redraw(DialogWindow& w, DialogHost& host) {
  Control& c = host.screen[Pic::frmDLG];
  DrawDialogWindow(w, host.screen, host.fonts, c.Image);
  // Kept where it was put; moved only as far as it takes to stay on the screen.
  c.Left = std::clamp(w.left, 0, std::max(0, kScreenWidth - w.layout.outerWidth));
  c.Top = std::clamp(w.top, 0, std::max(0, kScreenHeight - w.layout.outerHeight));
  c.Visible = w.visible;
  w.dirty = false;
  UpdateView(w, host);
}

}  // namespace

const char* DialogFocusName(DialogFocus focus) {
  switch (focus) {
    case DialogFocus::Cmd0:
      return "cmd(0)";
    case DialogFocus::Cmd1:
      return "cmd(1)";
    case DialogFocus::Cmd2:
      return "cmd(2)";
    case DialogFocus::Input:
      return "txtInput";
    case DialogFocus::Msg:
      return "txtMsg";
  }
  return "";
}

DialogRect DialogInnerArea(const DialogWindow& w) {
  return {kDialogBorder, kDialogBorder + kDialogTitleHeight, w.layout.innerWidth,
          w.layout.outerHeight - 2 * kDialogBorder - kDialogTitleHeight};
}

DialogRect DialogCloseBox(const DialogWindow& w) {
  return {w.layout.outerWidth - kDialogBorder - 18, kDialogBorder + 2, 16, 14};
}

void cmd_Click(DialogWindow& w, DialogHost& host, int index) {
  if (index == 0 || index == 2) {
    // "1" when the field is empty, else its text trimmed.
    host.state.DialogAnswer = w.input.Empty() ? std::string(1, '1') : TrimBlanks(w.input.Text());
  } else {
    host.state.DialogAnswer.clear();
  }
  Hide(w, host);
}

void Form_Activate(DialogWindow& w, DialogHost& host) {
  if (w.layout.inputVisible) {
    SetFocus(w, host, DialogFocus::Input);
    w.input.SelectAll();
    host.textInput.MoveCaret(CaretOnScreen(w, host));
  }
}

bool Form_KeyDown(DialogWindow& w, DialogHost& host, int vk, int mods) {
  const bool alt = (mods & kModAlt) != 0;
  const bool inField = w.focus == DialogFocus::Input;
  switch (vk) {
    case kVkEscape:
      cmd_Click(w, host, 0);
      return true;
    case kVkReturn: {
      // Enter presses the focused button, else the default one, before the field sees it.
      const int focused = ButtonOf(w.focus);
      if (focused >= 0) {
        Press(w, host, focused);
        return true;
      }
      if (w.layout.defaultButton >= 0) {
        Press(w, host, w.layout.defaultButton);
        return true;
      }
      return false;
    }
    case kVkTab:
      MoveFocus(w, host, (mods & kModShift) != 0);
      return true;
    case 'Y':
      if (!alt && inField) return false;
      Press(w, host, YesButton(w));
      return true;
    case 'N':
      if (!alt && inField) return false;
      Press(w, host, 1);
      return true;
    default:
      return false;
  }
}

bool txtInput_KeyPress(DialogWindow& w, DialogHost& host, char32_t key) {
  if ((key >= 34 && key <= 39) || (key >= 42 && key <= 45) || key == 47 || (key >= 58 && key <= 63) || key == 92) {
    return false;
  }
  if (key == U'\r') {
    SetFocus(w, host, DialogFocus::Cmd0);
    return false;
  }
  return true;
}

void txtMsg_Click(DialogWindow& w, DialogHost& host) {
  if (w.layout.inputVisible) SetFocus(w, host, DialogFocus::Input);
  if (w.layout.cmdVisible[2]) SetFocus(w, host, DialogFocus::Cmd2);
}

std::string ShowDialog(DialogWindow& w, DialogHost& host, const std::string& text, std::string& caption,
                       const std::string& buttons, const std::string& icon) {
  // A question asked from an event handled while another waits would leave the first one
  // answered by the second's buttons; it is refused, as a cancel.
  if (w.waiting) return {};

  w.exists = true;
  Hide(w, host);
  host.state.DialogAnswer = "";

  w.layout = LayOutDialog(text, buttons, icon);
  if (w.layout.iconIndex >= 0) w.windowIcon = w.layout.iconIndex;
  if (caption.empty()) caption = host.texts(w.layout.defaultCaption);
  for (size_t i = 0; i < w.buttonCaptions.size(); ++i) w.buttonCaptions[i] = host.texts(kButtonCaptions[i]);
  w.caption = caption;
  FitDialogToScreen(w.layout, kScreenHeight);
  w.scrollLines = 0;
  w.composition.clear();
  w.input.SetText(w.layout.inputVisible ? icon : "");
  w.focus = DialogFocus::Msg;
  for (DialogFocus f : kTabOrder) {
    if (ButtonOf(f) >= 0 && Shown(w, f)) {
      w.focus = f;
      break;
    }
  }
  w.joystickChoice = 0;
  if (!w.placed) {
    w.left = (kScreenWidth - w.layout.outerWidth) / 2;
    w.top = (kScreenHeight - w.layout.outerHeight) / 2;
    w.placed = true;
  }

  // Whatever was typed or clicked before the question existed is not an answer to it.
  host.screen.DoEvents();
  w.visible = true;
  host.screen.onKeyEvent = [&w, &host](const PlatformEvent& e) { OnEvent(w, host, e); };
  host.screen[Pic::frmDLG].OnClickAt = [&w, &host](int x, int y) { OnClick(w, host, x, y); };
  host.screen.modal = Pic::frmDLG;
  Redraw(w, host);
  Form_Activate(w, host);
  Redraw(w, host);
  const Control& shown = host.screen[Pic::frmDLG];
  host.platform.input.SetPointerOver(&DialogPointer(host.screen),
                                     {shown.Left, shown.Top, w.layout.outerWidth, w.layout.outerHeight});
  host.screen.Refresh();
  host.trace.Emit("dialog", [&](TraceEvent& e) {
    e.Add("text", text)
        .Add("caption", caption)
        .Add("buttons", buttons)
        .Add("icon", icon)
        .Add("left", shown.Left)
        .Add("top", shown.Top)
        .Add("width", w.layout.outerWidth)
        .Add("height", w.layout.outerHeight);
  });

  w.waiting = true;
  // A joystick button held since before the question must be let go before it answers.
  bool joystickArmed = false;
  while (w.visible) {
    host.screen.DoEvents();
    if (w.visible && host.devicesReady != 0 && host.pollJoystick) {
      const JoystickPoll poll = host.pollJoystick();
      if (poll.button != 1) joystickArmed = true;
      const bool press = joystickArmed && poll.button == 1;
      if (w.layout.cmdVisible[0]) {
        if (poll.x < -1) {
          w.joystickChoice = 0;
          SetFocus(w, host, DialogFocus::Cmd0);
        }
        if (poll.x > 1) {
          w.joystickChoice = 1;
          SetFocus(w, host, DialogFocus::Cmd1);
        }
        if (press) cmd_Click(w, host, w.joystickChoice);
      }
      if (w.visible && w.layout.cmdVisible[2] && press) cmd_Click(w, host, 2);
    }
    if (!w.visible) break;
    if (w.dirty) Redraw(w, host);
    host.platform.input.WaitForEvent(kWaitPassMs);
  }
  w.waiting = false;
  host.screen.Refresh();

  std::string answer = TrimBlanks(host.state.DialogAnswer);
  host.trace.Emit("answer", [&](TraceEvent& e) { e.Add("value", answer); });
  return answer;
}

}  // namespace kav
