#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/boolean.h"
#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

struct Recorder : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override { events.push_back(e); }
};

class DialogTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform;
  Screen screen{platform};
  RecordingTextInput textInput;
  Recorder recorder;
  Trace trace{&recorder};
  DialogState state;
  DialogView view;
  int16_t devicesReady = kFalse;
  JoystickPoll pad;
  int joystickPolls = 0;
  DialogWindow window;
  DialogHost host{platform,
                  screen,
                  textInput,
                  nullptr,
                  trace,
                  state,
                  view,
                  devicesReady,
                  [this] {
                    ++joystickPolls;
                    return pad;
                  },
                  TextsOf(Language::kJapanese)};
  // Runs at every pass of the wait with the virtual time.
  std::function<void(int64_t)> during;

  void SetUp() override {
    platform.onSleep = [this](HeadlessPlatform& p) {
      if (during) during(p.Now());
      if (p.Now() > 60000) throw std::runtime_error("the dialog was never answered");
    };
  }

  std::string Ask(const std::string& text, const std::string& buttons, const std::string& icon,
                  std::string caption = "") {
    return ShowDialog(window, host, text, caption, buttons, icon);
  }
  void KeyAt(int64_t ms, int vk, int mods = 0) { platform.QueueEventAt(ms, PlatformEvent::Key(vk, mods)); }
  void TextAt(int64_t ms, const std::string& text) { platform.QueueEventAt(ms, PlatformEvent::Text(text)); }
};

TEST_F(DialogTest, ButtonsAnswerYesCancelOrTheTypedText) {
  KeyAt(10, kVkReturn);
  EXPECT_EQ(Ask("注意;;abc", "Y", "!"), "1");
  KeyAt(30, kVkEscape);
  EXPECT_EQ(Ask("注意;;abc", "Y", "!"), "1") << "Escape answers yes";

  KeyAt(50, kVkTab);
  KeyAt(51, kVkReturn);
  EXPECT_EQ(Ask("x", "YN", "?"), "") << "Tab to 取消, Enter presses the focused button";
  KeyAt(70, 'N', kModAlt);
  EXPECT_EQ(Ask("x", "YN", "?"), "");
  KeyAt(90, 'Y', kModAlt);
  EXPECT_EQ(Ask("x", "YN", "?"), "1");
  KeyAt(110, kVkEscape);
  EXPECT_EQ(Ask("x", "YN", "?"), "1") << "Escape is cmd(0) whatever the set";
  KeyAt(130, kVkSpace);
  EXPECT_EQ(Ask("x", "YN", "?"), "1") << "Space presses the focused first button";

  TextAt(150, "pilot");
  KeyAt(151, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "pilot") << "one Enter answers from the field";
  KeyAt(170, kVkBackSpace);
  KeyAt(171, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "1") << "an emptied field answers 1";
  TextAt(190, "   ");
  KeyAt(191, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "") << "blanks only: the trimmed text is empty";
  KeyAt(210, kVkEscape);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "ORVEL") << "Escape takes the field as it stands";
  KeyAt(230, kVkTab, kModShift);
  KeyAt(231, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "") << "Shift+Tab from the field goes back to 取消";
  KeyAt(250, kVkTab);
  KeyAt(251, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "ORVEL") << "Tab goes on to the message; Enter is the default's";
}

TEST_F(DialogTest, DefaultCaptionIsWrittenBackAndTheAnswerIsTraced) {
  KeyAt(10, kVkReturn);
  std::string caption;
  ShowDialog(window, host, "注意;;abc", caption, "Y", "!");
  EXPECT_EQ(caption, "注意");
  std::string own = "説明";
  KeyAt(30, kVkReturn);
  ShowDialog(window, host, "x", own, "Y", "F");
  EXPECT_EQ(own, "説明");

  ASSERT_GE(recorder.events.size(), 4u);
  const TraceEvent& shown = recorder.events[0];
  EXPECT_EQ(shown.kind, "dialog");
  auto field = [](const TraceEvent& e, const std::string& key) -> const TraceValue& {
    for (const auto& [k, v] : e.fields) {
      if (k == key) return v;
    }
    throw std::runtime_error("no field " + key);
  };
  EXPECT_EQ(field(shown, "text").As<std::string>(), "注意;;abc");
  EXPECT_EQ(field(shown, "caption").As<std::string>(), "注意");
  EXPECT_EQ(field(shown, "width").As<int64_t>(), 120);
  EXPECT_EQ(field(shown, "height").As<int64_t>(), 127);
  EXPECT_EQ(field(shown, "left").As<int64_t>(), (800 - 120) / 2) << "first shown centred";
  EXPECT_EQ(field(shown, "top").As<int64_t>(), (600 - 127) / 2);
  EXPECT_EQ(recorder.events[1].kind, "answer");
  EXPECT_EQ(field(recorder.events[1], "value").As<std::string>(), "1");
  EXPECT_EQ(field(recorder.events[2], "left").As<int64_t>(), (800 - 120) / 2) << "later ones keep the corner";
}

TEST_F(DialogTest, ClosingTheWindowAnswersNothing) {
  platform.QueueEventAt(10, PlatformEvent::CloseDialog());
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "");
  // The close box by the mouse: the window is centred, its box at the title bar's right.
  KeyAt(20, kVkTab);  // ignored until shown; the click below answers
  during = [&](int64_t now) {
    if (now == 40 && view.visible) {
      const DialogRect box = DialogCloseBox(window);
      platform.QueueEvent(PlatformEvent::Click(view.left + box.left + 3, view.top + box.top + 3));
    }
  };
  EXPECT_EQ(Ask("x", "YN", "?"), "");
  EXPECT_FALSE(view.visible);
}

TEST_F(DialogTest, MouseClicksOnButtonsAndTheMessage) {
  during = [&](int64_t now) {
    if (now != 20 || !view.visible) return;
    const DialogRect inner = DialogInnerArea(window);
    const DialogRect no = window.layout.cmd[1];
    platform.QueueEvent(PlatformEvent::Click(view.left + inner.left + no.left + 5, view.top + inner.top + no.top + 5));
  };
  EXPECT_EQ(Ask("x", "YN", "?"), "");

  during = [&](int64_t now) {
    if (now != 120 || !view.visible) return;
    const DialogRect inner = DialogInnerArea(window);
    const DialogRect msg = window.layout.txtMsg;
    platform.QueueEvent(
        PlatformEvent::Click(view.left + inner.left + msg.left + 2, view.top + inner.top + msg.top + 2));
  };
  KeyAt(140, kVkReturn);
  EXPECT_EQ(Ask("x", "Y", "?"), "1");
  EXPECT_EQ(view.focus, "cmd(2)");
}

TEST_F(DialogTest, TheFieldRefusesTheSeparatorsAndTakesTheRest) {
  TextAt(10, "a-b\\c\"#$%&'*+,/:;<=>?d@!().漢");
  KeyAt(11, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", ""), "abcd@!().漢");

  // With icon "?", the field starts with "?" and no icon; once deleted it cannot be typed again.
  KeyAt(30, kVkDelete);
  TextAt(31, "?");
  KeyAt(32, kVkReturn);
  EXPECT_EQ(Ask("x", "INPUT", "?"), "1");
  EXPECT_EQ(window.layout.iconIndex, 0) << "the question icon shows";
}

TEST_F(DialogTest, TheFieldStartsSelectedAndEditsAsUsual) {
  during = [&](int64_t now) {
    if (now == 20) {
      EXPECT_EQ(view.focus, "txtInput");
      EXPECT_EQ(view.input, "ORVEL");
      EXPECT_EQ(view.selStart, 0);
      EXPECT_EQ(view.selLength, 5);
      EXPECT_TRUE(textInput.Active()) << "the input method is on while the field has the focus";
    }
  };
  KeyAt(30, kVkEnd);
  KeyAt(31, kVkLeft, kModShift);
  KeyAt(32, kVkLeft, kModShift);
  TextAt(33, "X");
  KeyAt(34, kVkHome);
  TextAt(35, "A");
  KeyAt(36, kVkReturn);
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "AORVX");
  EXPECT_FALSE(textInput.Active()) << "and off once the dialog has gone";
}

TEST_F(DialogTest, TheInputMethodsEnterDoesNotAnswer) {
  platform.QueueEventAt(10, PlatformEvent::Compose("かな"));
  KeyAt(11, kVkReturn);  // confirms the composition
  platform.QueueEventAt(12, PlatformEvent::Compose(""));
  TextAt(13, "仮名");
  KeyAt(14, kVkReturn);  // some input methods pass their Enter on after the text
  during = [&](int64_t now) {
    if (now == 40) {
      EXPECT_TRUE(view.visible) << "no Enter of the input method answered";
      EXPECT_EQ(view.input, "仮名");
      platform.QueueEvent(PlatformEvent::Key(kVkReturn));
    }
  };
  EXPECT_EQ(Ask("name?", "INPUT", "ORVEL"), "仮名");
}

TEST_F(DialogTest, KeysAndTextFromBeforeTheQuestionAreNotAnswers) {
  // The Space that ended a key wait and a letter typed meanwhile are already queued.
  platform.QueueEvent(PlatformEvent::Key(kVkSpace));
  platform.QueueEvent(PlatformEvent::Text("q"));
  during = [&](int64_t now) {
    if (now == 20) {
      EXPECT_TRUE(view.visible);
      platform.QueueEvent(PlatformEvent::Key(kVkTab));
      platform.QueueEvent(PlatformEvent::Key(kVkSpace));
    }
  };
  EXPECT_EQ(Ask("　もう一度　？", "YN", "?"), "");
}

TEST_F(DialogTest, JoystickChoosesAndPressesOnlyOnceTheDevicesAreReady) {
  pad.button = 1;  // held since before the question
  during = [&](int64_t now) {
    if (now == 20) {
      EXPECT_TRUE(view.visible);
      pad = {};
      devicesReady = kTrue;
    }
    if (now == 40) {
      EXPECT_TRUE(view.visible) << "a button held from before does not answer";
      pad.x = 6;
    }
    if (now == 60) {
      EXPECT_EQ(view.focus, "cmd(1)");
      pad = {.x = 0, .y = 0, .button = 1};
    }
  };
  EXPECT_EQ(joystickPolls, 0);
  EXPECT_EQ(Ask("x", "YN", "?"), "") << "pushed right, then button 1: 取消";
  EXPECT_GT(joystickPolls, 0);

  pad = {};
  during = [&](int64_t now) {
    if (now > 100 && now < 110) pad.x = -7;
    if (now > 120) pad = {.x = 0, .y = 0, .button = 1};
  };
  EXPECT_EQ(Ask("x", "YN", "?"), "1") << "pushed left, then button 1";

  during = [&](int64_t) { pad = {.x = 0, .y = 0, .button = 1}; };
  pad = {};
  EXPECT_EQ(Ask("x", "Y", "!"), "1") << "the single button takes button 1 too";
}

TEST_F(DialogTest, JoystickIsNotReadBeforeTheDevicesAreReady) {
  pad.button = 1;
  KeyAt(50, kVkReturn);
  during = [&](int64_t now) {
    if (now == 10) pad = {};
    if (now == 20) pad.button = 1;
  };
  EXPECT_EQ(Ask("x", "YN", "?"), "1");
  EXPECT_EQ(joystickPolls, 0);
  EXPECT_GE(platform.Now(), 50) << "only the Enter answered";
}

TEST_F(DialogTest, AQuestionAskedWhileOneWaitsIsRefused) {
  std::string nested = "unset";
  during = [&](int64_t now) {
    if (now < 10 || nested != "unset") return;
    std::string caption;
    nested = ShowDialog(window, host, "inner", caption, "Y", "H");
  };
  KeyAt(20, kVkTab);
  KeyAt(21, kVkReturn);
  EXPECT_EQ(Ask("outer", "YN", "?"), "");
  EXPECT_EQ(nested, "") << "the inner call returns at once";
  EXPECT_EQ(window.layout.lines[0], "outer") << "and leaves the waiting dialog as it was";
}

TEST_F(DialogTest, ClicksOutsideTheWaitingDialogReachNothing) {
  bool clicked = false;
  screen[Pic::Picture1].Visible = true;
  screen[Pic::Picture1].Image = Surface(32, 32);
  screen[Pic::Picture1].Move(0, 0);
  screen[Pic::Picture1].OnClick = [&] { clicked = true; };
  platform.QueueEventAt(10, PlatformEvent::Click(1, 1));
  KeyAt(20, kVkReturn);
  EXPECT_EQ(Ask("outer", "YN", "?"), "1");
  EXPECT_FALSE(clicked) << "the menu button behind a question is not pressed";
  screen.DoEvents();
  platform.QueueEvent(PlatformEvent::Click(1, 1));
  screen.DoEvents();
  EXPECT_TRUE(clicked) << "once the question is answered it is";
}

TEST_F(DialogTest, AnUnknownButtonSetIsLeftByEscape) {
  KeyAt(10, kVkReturn);
  KeyAt(11, kVkSpace);
  KeyAt(20, kVkEscape);
  EXPECT_EQ(Ask("x", "OK", "?"), "1");
  EXPECT_GE(platform.Now(), 20) << "Enter and Space found no button to press";
}

TEST_F(DialogTest, TheWaitSleepsBetweenItsPasses) {
  int sleeps = 0;
  during = [&](int64_t) { ++sleeps; };
  KeyAt(400, kVkReturn);
  Ask("x", "Y", "!");
  EXPECT_GE(sleeps, 50);
  EXPECT_LE(sleeps, 150) << "a pass waits a few milliseconds, not zero and not long";
}

}  // namespace
}  // namespace kav
