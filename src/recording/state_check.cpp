#include "recording/state_check.h"

#include <string_view>

#include "base/json.h"

namespace kav::recording {
namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

void Mix(uint64_t& h, std::string_view bytes) {
  for (char c : bytes) {
    h ^= static_cast<uint8_t>(c);
    h *= kFnvPrime;
  }
}

}  // namespace

StateHasher::StateHasher(GameState& g) {
  for (runner::StateVar& v : runner::StateVars(g)) {
    if (v.name != "AppDir" && v.name != "RecordFilePath") vars_.push_back(std::move(v));
  }
}

uint64_t StateHasher::Hash() const {
  uint64_t h = kFnvOffset;
  for (const runner::StateVar& v : vars_) {
    Mix(h, v.name);
    Mix(h, "=");
    Mix(h, ToJson(v.get()));
    Mix(h, ";");
  }
  return h;
}

void StageChecks::Write(const TraceEvent& event) {
  CheckPoint point{};
  if (event.kind == "stage") {
    point = CheckPoint::kStageSetUp;
  } else if (event.kind == "clock") {
    point = CheckPoint::kClockStarted;
  } else if (event.kind == "clear") {
    point = CheckPoint::kCleared;
  } else if (event.kind == "outcome") {
    point = CheckPoint::kFailed;
  } else {
    return;
  }
  int32_t stage = g_.CurrentStage;
  for (const auto& [key, value] : event.fields) {
    if (key == "stage" && value.Is<int64_t>()) stage = static_cast<int32_t>(value.As<int64_t>());
  }
  onCheck_(point, stage, hasher_.Hash());
}

}  // namespace kav::recording
