// Feeds arbitrary bytes to the runner's command parser, line by line as the runner does, and to
// the JSON reader: anything parses or gives a reason. What parses must read back the same from
// its own JSON.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/json.h"
#include "runner/commands.h"

namespace {

using kav::TraceValue;
using kav::runner::Command;
using kav::runner::ParseError;

void CheckJson(std::string_view text) {
  std::string error;
  std::string_view rest = text;
  const std::optional<TraceValue> value = kav::ParseJson(rest, error);
  if (!value) {
    if (error.empty()) __builtin_trap();
    return;
  }
  if (rest.size() >= text.size() || rest.data() != text.data() + (text.size() - rest.size())) __builtin_trap();
  const std::string json = kav::ToJson(*value);
  std::string_view again = json;
  const std::optional<TraceValue> reread = kav::ParseJson(again, error);
  if (!reread || !again.empty() || kav::ToJson(*reread) != json) __builtin_trap();
}

// A set or expect line written back from what was parsed parses to the same values.
void CheckAssignments(const Command& c) {
  std::string line = c.kind == Command::Kind::Set ? "set" : "expect";
  for (const auto& [name, value] : c.assignments) line += " " + name + "=" + kav::ToJson(value);
  const auto reparsed = kav::runner::ParseCommand(line);
  const Command* again = std::get_if<Command>(&reparsed);
  if (again == nullptr || again->kind != c.kind || again->assignments.size() != c.assignments.size()) __builtin_trap();
  for (size_t i = 0; i < c.assignments.size(); ++i) {
    if (again->assignments[i].first != c.assignments[i].first) __builtin_trap();
    const TraceValue& a = again->assignments[i].second;
    const TraceValue& b = c.assignments[i].second;
    if (kav::ToJson(a) != kav::ToJson(b)) __builtin_trap();
  }
}

void CheckLine(std::string_view line) {
  const auto parsed = kav::runner::ParseCommand(line);
  if (const ParseError* e = std::get_if<ParseError>(&parsed)) {
    if (e->reason.empty()) __builtin_trap();
    return;
  }
  const Command& c = std::get<Command>(parsed);
  if (c.kind == Command::Kind::Set || c.kind == Command::Kind::Expect) {
    if (c.assignments.empty()) __builtin_trap();
    CheckAssignments(c);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckJson(text);
  CheckLine(text);
  size_t from = 0;
  while (from <= text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] != '#') CheckLine(line);
    from = end + 1;
  }
  return 0;
}
