#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/trace.h"
#include "game/game.h"
#include "recording/journal.h"

namespace kav::recording {

// A hash of the state register, every variable but the two paths that only say where this copy
// of the game runs (a playback reads its pictures and keeps its record file elsewhere).
class StateHasher {
 public:
  explicit StateHasher(GameState& g) : g_(g) {}
  uint64_t Hash() const;

 private:
  GameState& g_;
};

// Hands every trace event to each listener in turn.
class TraceTee final : public TraceSink {
 public:
  void Add(TraceSink* sink) {
    if (sink != nullptr) sinks_.push_back(sink);
  }
  void Write(const TraceEvent& event) override {
    for (TraceSink* s : sinks_) s->Write(event);
  }

 private:
  std::vector<TraceSink*> sinks_;
};

// Takes the state's hash where a stage starts (its set-up begins, its clock starts) and ends (a
// clear, a failure), as the game reports them.
class StageChecks final : public TraceSink {
 public:
  using OnCheck = std::function<void(CheckPoint, int32_t stage, uint64_t hash)>;
  StageChecks(GameState& g, OnCheck onCheck) : g_(g), hasher_(g), onCheck_(std::move(onCheck)) {}
  void Write(const TraceEvent& event) override;

 private:
  GameState& g_;
  StateHasher hasher_;
  OnCheck onCheck_;
};

}  // namespace kav::recording
