#pragma once

#include <string>
#include <vector>

#include "base/trace.h"

namespace kav::testing {

// Keeps every event a routine reports, for the tests to look through.
struct TraceRecorder : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override { events.push_back(e); }

  std::vector<const TraceEvent*> Of(const std::string& kind) const {
    std::vector<const TraceEvent*> found;
    for (const TraceEvent& e : events) {
      if (e.kind == kind) found.push_back(&e);
    }
    return found;
  }
  static const TraceValue* Field(const TraceEvent& e, const std::string& key) {
    for (const auto& [k, v] : e.fields) {
      if (k == key) return &v;
    }
    return nullptr;
  }
  // "sound play 8", "digits M=12": the events of these kinds with their text and number fields.
  std::vector<std::string> Lines(const std::vector<std::string>& kinds) const {
    std::vector<std::string> out;
    for (const TraceEvent& e : events) {
      bool wanted = false;
      for (const std::string& k : kinds) wanted = wanted || k == e.kind;
      if (!wanted) continue;
      std::string line = e.kind;
      for (const auto& [k, v] : e.fields) {
        if (k == "target") continue;
        if (v.Is<std::string>()) line.append(" ").append(v.As<std::string>());
        if (v.Is<int64_t>()) line.append(" ").append(std::to_string(v.As<int64_t>()));
      }
      out.push_back(line);
    }
    return out;
  }
};

}  // namespace kav::testing
