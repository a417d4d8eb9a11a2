#include "runner/commands.h"

#include <algorithm>
#include <charconv>

#include "base/json.h"
#include "platform/platform.h"

namespace kav::runner {
namespace {

const std::vector<std::string_view> kEventKinds = {
    "start",    "ready",  "run",        "stage",   "clock",   "frame", "shot",   "contact", "outcome",  "clear",
    "sequence", "strike", "wait",       "waited",  "message", "typed", "digits", "dialog",  "answer",   "sound",
    "force",    "fade",   "fullscreen", "records", "exit",    "state", "pixel",  "limit",   "mismatch",
};

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

template <class T>
bool ParseInt(std::string_view word, T& out) {
  const auto r = std::from_chars(word.data(), word.data() + word.size(), out);
  return r.ec == std::errc() && r.ptr == word.data() + word.size();
}

ParseError Wrong(std::string reason) {
  return ParseError{std::move(reason)};
}

// NAME=VALUE items: VALUE is JSON when it is a JSON number, true, false, a quoted string or an
// array, else a bare string up to the next blank.
std::variant<std::vector<std::pair<std::string, TraceValue>>, ParseError> ParseAssignments(std::string_view rest) {
  std::vector<std::pair<std::string, TraceValue>> items;
  for (;;) {
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (rest.empty()) break;
    const size_t eq = rest.find('=');
    const size_t blank = rest.find_first_of(" \t");
    if (eq == std::string_view::npos || (blank != std::string_view::npos && blank < eq) || eq == 0) {
      return Wrong("expected NAME=VALUE, found \"" + std::string(rest.substr(0, blank)) + "\"");
    }
    std::string name(rest.substr(0, eq));
    rest.remove_prefix(eq + 1);
    const std::string_view token = rest.substr(0, rest.find_first_of(" \t"));
    TraceValue value;
    // A value is JSON when the whole of it parses as one of these; anything else is a bare
    // string up to the next blank.
    std::string_view probe = rest;
    std::string ignored;
    std::optional<TraceValue> json = ParseJson(probe, ignored);
    const bool ends = probe.empty() || probe.front() == ' ' || probe.front() == '\t';
    const bool asJson =
        json && ends &&
        (json->IsNumber() || json->Is<bool>() || json->Is<std::string>() || json->Is<TraceValue::Array>());
    if (asJson) {
      value = std::move(*json);
      rest = probe;
    } else {
      if (token.empty()) return Wrong("the value of " + name + " is missing");
      value = std::string(token);
      rest.remove_prefix(token.size());
    }
    items.emplace_back(std::move(name), std::move(value));
  }
  if (items.empty()) return Wrong("expected at least one NAME=VALUE");
  return items;
}

}  // namespace

bool KnownEventKind(std::string_view kind) {
  return std::find(kEventKinds.begin(), kEventKinds.end(), kind) != kEventKinds.end();
}

const std::vector<std::string_view>& EventKinds() {
  return kEventKinds;
}

std::variant<Command, ParseError> ParseCommand(std::string_view line) {
  const std::vector<std::string_view> w = Words(line);
  if (w.empty()) return Wrong("empty command");
  const std::string_view verb = w[0];
  Command c;
  auto count = [&](size_t lo, size_t hi) { return w.size() >= lo && w.size() <= hi; };
  auto key = [&](std::string_view name) -> std::variant<int, ParseError> {
    const int vk = VkForKeyName(name);
    if (vk == 0) return Wrong("unknown key \"" + std::string(name) + "\"");
    return vk;
  };
  // Where the verb ends in the line (it may be indented).
  const size_t verbEnd = static_cast<size_t>(verb.data() - line.data()) + verb.size();
  // The text commands take the rest of the line after one blank, verbatim.
  auto rest = [&]() -> std::string {
    if (verbEnd >= line.size()) return {};
    return std::string(line.substr(verbEnd + 1));
  };

  if (verb == "kavrona-script") {
    if (!count(2, 2) || !ParseInt(w[1], c.number) || c.number < 1) return Wrong("expected kavrona-script VERSION");
    c.kind = Command::Kind::Version;
    return c;
  }
  if (verb == "key") {
    if (!count(3, 3) || (w[2] != "down" && w[2] != "up")) return Wrong("expected key NAME down|up");
    auto vk = key(w[1]);
    if (auto* e = std::get_if<ParseError>(&vk)) return *e;
    c.kind = Command::Kind::Key;
    c.vk = std::get<int>(vk);
    c.down = w[2] == "down";
    return c;
  }
  if (verb == "tap") {
    if (!count(2, 3)) return Wrong("expected tap NAME [MS]");
    auto vk = key(w[1]);
    if (auto* e = std::get_if<ParseError>(&vk)) return *e;
    c.kind = Command::Kind::Tap;
    c.vk = std::get<int>(vk);
    c.ms = 100;
    if (w.size() == 3 && (!ParseInt(w[2], c.ms) || c.ms < 0)) return Wrong("tap's MS must be a whole number >= 0");
    return c;
  }
  if (verb == "text" || verb == "compose") {
    c.kind = verb == "text" ? Command::Kind::Text : Command::Kind::Compose;
    c.text = rest();
    if (c.kind == Command::Kind::Text && c.text.empty()) return Wrong("expected text STRING");
    return c;
  }
  if (verb == "click" || verb == "pixel") {
    if (!count(3, 3) || !ParseInt(w[1], c.x) || !ParseInt(w[2], c.y)) {
      return Wrong("expected " + std::string(verb) + " X Y");
    }
    if (c.x < 0 || c.x >= kScreenWidth || c.y < 0 || c.y >= kScreenHeight) {
      return Wrong(std::string(verb) + " outside the 800 x 600 picture");
    }
    c.kind = verb == "click" ? Command::Kind::Click : Command::Kind::Pixel;
    return c;
  }
  if (verb == "close") {
    if (w.size() == 1) {
      c.kind = Command::Kind::Close;
      return c;
    }
    if (count(2, 2) && w[1] == "dialog") {
      c.kind = Command::Kind::CloseDialog;
      return c;
    }
    return Wrong("expected close or close dialog");
  }
  if (verb == "focus") {
    if (!count(2, 2) || (w[1] != "lost" && w[1] != "gained")) return Wrong("expected focus lost|gained");
    c.kind = w[1] == "lost" ? Command::Kind::FocusLost : Command::Kind::FocusGained;
    return c;
  }
  if (verb == "pad") {
    if (w.size() >= 2 && w[1] == "attach" && count(3, 3)) {
      c.kind = Command::Kind::PadAttach;
      if (w[2] == "plain") {
        c.padKind = HeadlessPad::Kind::Plain;
      } else if (w[2] == "rumble") {
        c.padKind = HeadlessPad::Kind::Rumble;
      } else if (w[2] == "haptic") {
        c.padKind = HeadlessPad::Kind::Haptic;
      } else if (w[2] == "haptic-noidle") {
        c.padKind = HeadlessPad::Kind::HapticNoIdle;
      } else {
        return Wrong("unknown pad kind \"" + std::string(w[2]) + "\" (plain, rumble, haptic, haptic-noidle)");
      }
      return c;
    }
    if (w.size() == 2 && w[1] == "detach") {
      c.kind = Command::Kind::PadDetach;
      return c;
    }
    if (w.size() >= 2 && w[1] == "axis") {
      if (!count(4, 4) || (w[2] != "x" && w[2] != "y") || !ParseInt(w[3], c.value) || c.value < -32768 ||
          c.value > 32767) {
        return Wrong("expected pad axis x|y VALUE (-32768..32767)");
      }
      c.kind = Command::Kind::PadAxis;
      c.axis = w[2][0];
      return c;
    }
    if (w.size() >= 2 && w[1] == "button") {
      if (!count(4, 4) || !ParseInt(w[2], c.number) || (c.number != 1 && c.number != 2) ||
          (w[3] != "down" && w[3] != "up")) {
        return Wrong("expected pad button 1|2 down|up");
      }
      c.kind = Command::Kind::PadButton;
      c.down = w[3] == "down";
      return c;
    }
    return Wrong("expected pad attach|detach|axis|button ...");
  }
  if (verb == "advance") {
    if (!count(2, 2) || !ParseInt(w[1], c.ms) || c.ms < 0) return Wrong("expected advance MS (a whole number >= 0)");
    c.kind = Command::Kind::Advance;
    return c;
  }
  if (verb == "frames") {
    if (!count(2, 2) || !ParseInt(w[1], c.count) || c.count < 1) return Wrong("expected frames N (N >= 1)");
    c.kind = Command::Kind::Frames;
    c.text = "frame";
    return c;
  }
  if (verb == "until") {
    if (!count(2, 3)) return Wrong("expected until KIND [N]");
    if (!KnownEventKind(w[1])) return Wrong("unknown event kind \"" + std::string(w[1]) + "\"");
    for (std::string_view runnersOwn : {"start", "ready", "state", "pixel", "limit", "mismatch"}) {
      if (w[1] == runnersOwn) return Wrong("the runner writes " + std::string(w[1]) + " itself; the game never does");
    }
    c.kind = Command::Kind::Until;
    c.text = std::string(w[1]);
    c.count = 1;
    if (w.size() == 3 && (!ParseInt(w[2], c.count) || c.count < 1)) return Wrong("until's N must be >= 1");
    return c;
  }
  if (verb == "state" || verb == "quit") {
    if (w.size() != 1) return Wrong(std::string(verb) + " takes nothing after it");
    c.kind = verb == "state" ? Command::Kind::State : Command::Kind::Quit;
    return c;
  }
  if (verb == "shot") {
    c.text = rest();
    if (c.text.empty()) return Wrong("expected shot FILE");
    c.kind = Command::Kind::Shot;
    return c;
  }
  if (verb == "set" || verb == "expect") {
    auto items = ParseAssignments(line.substr(verbEnd));
    if (auto* e = std::get_if<ParseError>(&items)) return *e;
    c.kind = verb == "set" ? Command::Kind::Set : Command::Kind::Expect;
    c.assignments = std::move(std::get<0>(items));
    return c;
  }
  return Wrong("unknown command \"" + std::string(verb) + "\"");
}

}  // namespace kav::runner
