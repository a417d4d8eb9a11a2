#pragma once

#include <string>

#include "base/state_vars.h"
#include "base/texts.h"
#include "base/trace.h"
#include "devices/display_mode.h"
#include "gfx/graphics.h"
#include "gfx/palette_fade.h"
#include "gfx/screen.h"
#include "platform/audio.h"
#include "platform/fonts.h"
#include "platform/joystick.h"
#include "platform/platform.h"
#include "platform/text_input.h"
#include "records/records.h"
#include "stages/run_state.h"
#include "ui/dialog.h"
#include "ui/dialog_state.h"

namespace kav {

// The game flow's own slice of the state register.
#define KAV_FLOW_STATE_VARS(VAR)                                     \
  VAR(bool, MainForm, false)   /* the main window has been loaded */ \
  VAR(std::string, AppDir, {}) /* the program's directory, ending with '/' */

struct FlowState {
  KAV_FLOW_STATE_VARS(KAV_DECLARE_VAR)
};

template <class V>
void VisitVars(FlowState& s, V&& v) {
  KAV_FLOW_STATE_VARS(KAV_VISIT_VAR)
}

// The game's state register: every name of the game reachable from one object.
struct GameState : RunState, RecordState, GfxState, DeviceState, DialogState, FlowState {
  // Where routines report what they do; the real game listens only when asked (--trace).
  Trace trace;
};

// Every variable of the register, slice by slice.
template <class V>
void VisitStateVars(GameState& g, V&& v) {
  VisitVars(static_cast<FlowState&>(g), v);
  VisitVars(static_cast<RunState&>(g), v);
  VisitVars(static_cast<GfxState&>(g), v);
  VisitVars(static_cast<RecordState&>(g), v);
  VisitVars(static_cast<DeviceState&>(g), v);
  VisitVars(static_cast<DialogState&>(g), v);
}

// The running game: its state, the platform it runs on and the main window.
class Game : public GameState {
 public:
  explicit Game(Platform platformRef) : platform(platformRef), screen(platformRef) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform platform;
  Screen screen;
  // The texts in the language the player chose: the game's own Japanese unless told.
  Texts texts;
  // Typing into the dialog's field; the platform's own where it has one.
  TextInput* textInput = &noTextInput_;
  // The dialog's faces; without them its texts are left out (tests of its workings).
  Fonts* fonts = nullptr;
  // The sound clips and the pad; none until the platform's are handed in.
  Audio* audio = &noAudio_;
  Joystick* joystick = &noJoystick_;
  // The title cover captured for its fade.
  FadePicture fadePicture;
  DialogWindow dialogWindow;
  DialogView dialog;
  // F4 acts once per press: the state it had when a loop last looked at it.
  bool f4WasDown = false;
  // Frames played since the program started, and when the next one is due.
  int64_t framesPlayed = 0;
  int32_t frameDeadline = 0;

 private:
  RecordingTextInput noTextInput_;
  NoAudio noAudio_;
  NoJoystick noJoystick_;
};

// CurrentStage as an index of StageTimes; a stage outside 1..8 (set by a test) reads and
// writes the unused element 0 instead of past the end.
inline size_t StageIndex(const RunState& r) {
  return r.CurrentStage >= 1 && r.CurrentStage < static_cast<int32_t>(r.StageTimes.size())
             ? static_cast<size_t>(r.CurrentStage)
             : 0;
}

// Today's date as "mm/dd" from the platform's calendar.
std::string Today(Game& g);

}  // namespace kav
