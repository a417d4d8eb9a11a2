#include "runner/driver.h"

#include <cstdio>
#include <iostream>

#include "base/game_exit.h"
#include "base/json.h"
#include "base/png_io.h"
#include "game/artwork.h"
#include "game/startup.h"

namespace kav::runner {
namespace {

// Ends the run from inside the game's sleep; caught by Run.
struct Halt {
  int status;
};

std::string RgbHex(uint32_t pixel) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", pixel & 0xFFFFFFu);
  return text;
}

}  // namespace

Driver::Driver(HeadlessPlatform& platform, Game& game, std::istream& commands, std::ostream& trace)
    : platform_(platform), game_(game), commands_(commands), trace_(trace), vars_(StateVars(game)) {
  for (size_t i = 0; i < vars_.size(); ++i) varIndex_[vars_[i].name] = i;
  platform_.sleepHook = this;
  game_.trace = Trace(this);
}

Driver::~Driver() {
  // The game and the platform may outlive the driver; they must not call into it then.
  if (platform_.sleepHook == this) platform_.sleepHook = nullptr;
  game_.trace = Trace();
}

int Driver::Run() {
  try {
    game_.trace.Emit("start", [](TraceEvent& e) { e.Add("version", kTraceVersion); });
    RunCommands();
    Main(game_);
  } catch (const Halt& halt) {
    return halt.status;
  } catch (const GameExit& exit) {
    return exit.status;
  } catch (const AssetError& e) {
    std::cerr << "kavrona-headless: " << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "kavrona-headless: line " << lineNumber_ << ": the game failed: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

void Driver::Write(const TraceEvent& event) {
  trace_ << TraceLine(event, platform_.Ticks()) << '\n';
  trace_.flush();
  if (goal_.active && goal_.byEvents && event.kind == goal_.kind) ++goal_.seen;
  if (closeDialogPending_ && event.kind == "dialog") {
    closeDialogPending_ = false;
    platform_.QueueEvent(PlatformEvent::CloseDialog());
  }
}

void Driver::Sleeping(HeadlessPlatform& platform, int64_t untilMs) {
  while (goal_.active) {
    const int64_t limitAt = goal_.start + kRunLimitMs;
    if (goal_.byEvents) {
      if (goal_.seen >= goal_.wanted) {
        FinishRunCommand();
        continue;
      }
      if (limitAt > untilMs) return;
    } else {
      if (goal_.target <= untilMs && goal_.target <= limitAt) {
        platform.AdvanceTo(goal_.target);
        FinishRunCommand();
        continue;
      }
      if (limitAt > untilMs) return;
    }
    platform.AdvanceTo(limitAt);
    game_.trace.Emit("limit");
    Fail(kStatusLimit, "the run command reached its limit of " + std::to_string(kRunLimitMs) + " ms");
  }
}

void Driver::FinishRunCommand() {
  if (goal_.releaseVk != 0) platform_.SetKey(goal_.releaseVk, false);
  goal_ = Goal{};
  game_.trace.Emit("ready");
  RunCommands();
}

void Driver::Fail(int status, const std::string& reason) {
  std::cerr << "kavrona-headless: line " << lineNumber_ << ": " << reason << '\n';
  throw Halt{status};
}

void Driver::RunCommands() {
  std::string line;
  while (!goal_.active) {
    if (!std::getline(commands_, line)) {
      std::cerr << "kavrona-headless: the commands ran out while the game still runs\n";
      throw Halt{kStatusOutOfCommands};
    }
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#') continue;
    auto parsed = ParseCommand(line);
    if (auto* error = std::get_if<ParseError>(&parsed)) Fail(kStatusBadInput, error->reason);
    const Command& c = std::get<Command>(parsed);
    if (c.kind == Command::Kind::Version) {
      if (sawCommand_) Fail(kStatusBadInput, "the kavrona-script line must come first");
      if (c.number > kScriptVersion) {
        Fail(kStatusBadInput, "script format " + std::to_string(c.number) + " is newer than this runner's (" +
                                  std::to_string(kScriptVersion) + ")");
      }
    }
    sawCommand_ = true;
    Execute(c);
  }
}

void Driver::PressKey(int vk, bool down) {
  platform_.SetKey(vk, down);
  if (!down) return;
  int mods = 0;
  if (platform_.KeySet(kVkShift)) mods |= kModShift;
  if (platform_.KeySet(kVkAlt)) mods |= kModAlt;
  platform_.QueueEvent(PlatformEvent::Key(vk, mods));
}

void Driver::Execute(const Command& c) {
  using K = Command::Kind;
  HeadlessPad& pad = platform_.pad;
  const int64_t now = platform_.Now();
  switch (c.kind) {
    case K::Version:
      break;
    case K::Key:
      PressKey(c.vk, c.down);
      break;
    case K::Tap:
      PressKey(c.vk, true);
      goal_ = Goal{};
      goal_.active = true;
      goal_.start = now;
      goal_.target = now + c.ms;
      goal_.releaseVk = c.vk;
      break;
    case K::Text:
      platform_.QueueEvent(PlatformEvent::Text(c.text));
      break;
    case K::Compose:
      platform_.QueueEvent(PlatformEvent::Compose(c.text));
      break;
    case K::Click:
      platform_.QueueEvent(PlatformEvent::Click(c.x, c.y));
      break;
    case K::Close:
      platform_.QueueEvent(PlatformEvent::Close());
      break;
    case K::CloseDialog:
      // Acts on the dialog shown now, or on the next one to appear.
      if (game_.dialog.visible) {
        platform_.QueueEvent(PlatformEvent::CloseDialog());
      } else {
        closeDialogPending_ = true;
      }
      break;
    case K::FocusLost:
      platform_.QueueEvent(PlatformEvent::Focus());
      break;
    case K::FocusGained:
      platform_.QueueEvent(PlatformEvent::FocusBack());
      break;
    case K::PadAttach:
      pad = HeadlessPad{.attached = true, .kind = c.padKind};
      break;
    case K::PadDetach:
      pad = HeadlessPad{};
      break;
    case K::PadAxis:
      (c.axis == 'x' ? pad.axisX : pad.axisY) = c.value;
      break;
    case K::PadButton:
      (c.number == 1 ? pad.button1 : pad.button2) = c.down;
      break;
    case K::Advance:
      goal_ = Goal{};
      goal_.active = true;
      goal_.start = now;
      goal_.target = now + c.ms;
      break;
    case K::Frames:
    case K::Until:
      goal_ = Goal{};
      goal_.active = true;
      goal_.byEvents = true;
      goal_.start = now;
      goal_.kind = c.text;
      goal_.wanted = c.count;
      break;
    case K::State:
      game_.trace.Emit("state", [&](TraceEvent& e) { AddStateFields(game_, vars_, e); });
      break;
    case K::Pixel: {
      const Surface& picP = game_.screen[Pic::picP].Image;
      if (c.x >= picP.Width() || c.y >= picP.Height()) Fail(kStatusBadInput, "picP has no pixel there yet");
      const uint32_t rgb = picP.Pixel(c.x, c.y);
      game_.trace.Emit("pixel", [&](TraceEvent& e) { e.Add("x", c.x).Add("y", c.y).Add("rgb", RgbHex(rgb)); });
    } break;
    case K::Shot:
      Shot(c.text);
      break;
    case K::Set:
      Set(c);
      break;
    case K::Expect:
      Expect(c);
      break;
    case K::Quit:
      throw Halt{0};
  }
}

void Driver::Set(const Command& c) {
  for (const auto& [name, value] : c.assignments) {
    auto it = varIndex_.find(name);
    if (it == varIndex_.end()) Fail(kStatusBadInput, "unknown variable \"" + name + "\"");
    if (std::string error = vars_[it->second].set(value); !error.empty()) Fail(kStatusBadInput, name + " " + error);
    if (name == "Heli.X" || name == "Heli.Y") {
      // The body is Pics(FirstPic); a FirstPic a script has set out of range names nothing.
      const int32_t first = game_.Heli.FirstPic;
      Control* body = first >= 0 && first < static_cast<int32_t>(game_.Heli.Pics.size())
                          ? game_.Heli.Pics[static_cast<size_t>(first)]
                          : nullptr;
      Control& sprite = body != nullptr ? *body : game_.screen[AnimePatten(kHeliPic)];
      sprite.Move(game_.Heli.X, game_.Heli.Y);
    }
  }
}

void Driver::Expect(const Command& c) {
  TraceValue::Array diffs;
  for (const auto& [name, want] : c.assignments) {
    auto it = varIndex_.find(name);
    if (it == varIndex_.end()) Fail(kStatusBadInput, "unknown variable \"" + name + "\"");
    const StateVar& var = vars_[it->second];
    TraceValue normalised;
    if (std::string error = var.normalise(want, normalised); !error.empty()) Fail(kStatusBadInput, name + " " + error);
    TraceValue got = var.get();
    if (!SameValue(normalised, got)) {
      diffs.push_back(TraceValue::Object{{"name", name}, {"want", want}, {"got", std::move(got)}});
    }
  }
  if (diffs.empty()) return;
  std::string names;
  for (const TraceValue& d : diffs) {
    const auto& fields = d.As<TraceValue::Object>();
    names += (names.empty() ? "" : ", ") + fields[0].second.As<std::string>() + " is " + ToJson(fields[2].second) +
             ", not " + ToJson(fields[1].second);
  }
  game_.trace.Emit("mismatch", [&](TraceEvent& e) { e.Add("diffs", std::move(diffs)); });
  Fail(kStatusMismatch, "expect failed: " + names);
}

void Driver::Shot(const std::string& file) {
  std::vector<uint32_t> frame = platform_.LastFrame();
  if (frame.empty()) {
    // Nothing shown yet: the window would be black.
    frame.assign(static_cast<size_t>(kScreenWidth) * kScreenHeight, kBlack);
  }
  if (!WritePng(file, kScreenWidth, kScreenHeight, frame.data())) Fail(kStatusBadInput, "cannot write " + file);
}

}  // namespace kav::runner
