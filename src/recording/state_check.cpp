#include "recording/state_check.h"

#include <bit>
#include <concepts>

namespace kav::recording {
namespace {

// FNV-1a over the values' bytes, each variable introduced by its name.
class Hashing {
 public:
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
      h_ ^= p[i];
      h_ *= kPrime;
    }
  }
  void Text(std::string_view s) {
    Number(static_cast<uint64_t>(s.size()));
    Bytes(s.data(), s.size());
  }
  void Number(uint64_t n) { Bytes(&n, sizeof n); }

  void Value(bool v) { Number(v ? 1 : 0); }
  template <std::integral T>
  requires(!std::same_as<T, bool>) void Value(T v) { Number(static_cast<uint64_t>(static_cast<int64_t>(v))); }
  template <std::floating_point T>
  void Value(T v) {
    Number(std::bit_cast<uint64_t>(static_cast<double>(v)));
  }
  void Value(const std::string& v) { Text(v); }
  void Value(const WindowRect& r) {
    for (int32_t x : {r.Left, r.Top, r.Width, r.Height}) Value(x);
  }
  // A picture box is named by the register where it is one; whether it holds one is the state.
  void Value(Control* const& c) { Value(c != nullptr); }
  template <class T, size_t N>
  void Value(const std::array<T, N>& items) {
    for (const T& item : items) Value(item);
  }
  template <class T>
  void Value(const std::vector<T>& items) {
    Number(items.size());
    for (const T& item : items) Value(item);
  }
  template <class T>
  requires requires(T& t) {
    VisitFields(t, [](std::string_view, auto&) {});
  }
  void Value(const T& record) {
    VisitFields(const_cast<T&>(record), [this](std::string_view name, auto& field) {
      Text(name);
      Value(field);
    });
  }

  uint64_t Result() const { return h_; }

 private:
  static constexpr uint64_t kPrime = 1099511628211ull;
  uint64_t h_ = 14695981039346656037ull;
};

}  // namespace

uint64_t StateHasher::Hash() const {
  Hashing hashing;
  VisitStateVars(g_, [&hashing](std::string_view name, auto& value) {
    if (name == "AppDir" || name == "RecordFilePath") return;
    hashing.Text(name);
    hashing.Value(value);
  });
  return hashing.Result();
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
