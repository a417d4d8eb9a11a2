#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "base/trace.h"
#include "platform/headless/headless_joystick.h"
#include "platform/keys.h"

namespace kav::runner {

constexpr int kScriptVersion = 1;  // the "kavrona-script" line

struct Command {
  enum class Kind {
    Version,
    Key,
    Tap,
    Text,
    Compose,
    Click,
    Close,
    CloseDialog,
    FocusLost,
    FocusGained,
    PadAttach,
    PadDetach,
    PadAxis,
    PadButton,
    Advance,
    Frames,
    Until,
    State,
    Pixel,
    Shot,
    Set,
    Expect,
    Quit,
  };
  Kind kind = Kind::Quit;
  int vk = 0;         // key, tap
  bool down = false;  // key, pad button
  int64_t ms = 0;     // tap, advance
  int64_t count = 0;  // frames, until
  int x = 0;          // click, pixel
  int y = 0;
  int number = 0;  // version, pad button (1 or 2)
  char axis = 'x';
  int32_t value = 0;  // pad axis
  HeadlessPad::Kind padKind = HeadlessPad::Kind::Plain;
  std::string text;                                             // text, compose, until's event kind, shot's file
  std::vector<std::pair<std::string, TraceValue>> assignments;  // set, expect

  bool Runs() const {
    return kind == Kind::Tap || kind == Kind::Advance || kind == Kind::Frames || kind == Kind::Until;
  }
};

struct ParseError {
  std::string reason;
};

// One command line (not blank, not a comment) of a script.
std::variant<Command, ParseError> ParseCommand(std::string_view line);

// Whether the trace has events of this kind; all of them, in the order of docs/trace.md.
bool KnownEventKind(std::string_view kind);
const std::vector<std::string_view>& EventKinds();

}  // namespace kav::runner
