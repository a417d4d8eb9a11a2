#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kav {

// One value of a trace field, in the shapes JSON has.
class TraceValue {
 public:
  using Array = std::vector<TraceValue>;
  using Object = std::vector<std::pair<std::string, TraceValue>>;
  using Data = std::variant<std::monostate, bool, int64_t, double, std::string, Array, Object>;

  TraceValue() = default;
  TraceValue(bool b) : data_(b) {}
  template <std::integral T>
  requires(!std::same_as<T, bool>) TraceValue(T v) : data_(static_cast<int64_t>(v)) {}
  template <std::floating_point T>
  TraceValue(T v) : data_(static_cast<double>(v)) {}
  TraceValue(const char* s) : data_(std::string(s)) {}
  TraceValue(std::string s) : data_(std::move(s)) {}
  TraceValue(Array a) : data_(std::move(a)) {}
  TraceValue(Object o) : data_(std::move(o)) {}

  const Data& data() const { return data_; }
  template <class T>
  bool Is() const {
    return std::holds_alternative<T>(data_);
  }
  template <class T>
  const T& As() const {
    return std::get<T>(data_);
  }
  bool IsNull() const { return Is<std::monostate>(); }
  bool IsNumber() const { return Is<int64_t>() || Is<double>(); }
  double Number() const { return Is<int64_t>() ? static_cast<double>(As<int64_t>()) : As<double>(); }

 private:
  Data data_;
};

// The start event's version: raised when an event or field is renamed or removed.
constexpr int kTraceVersion = 1;

// What a routine reports: its kind ("ev") and its fields, in order.
struct TraceEvent {
  std::string kind;
  TraceValue::Object fields;

  TraceEvent& Add(std::string key, TraceValue value) {
    fields.emplace_back(std::move(key), std::move(value));
    return *this;
  }
};

// Whoever listens: the headless runner writes events out; the real game installs nobody.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void Write(const TraceEvent& event) = 0;
};

// How game routines report what they do. With nobody listening an event costs one pointer
// test: the fields are never built.
class Trace {
 public:
  Trace() = default;
  explicit Trace(TraceSink* sink) : sink_(sink) {}

  bool Listening() const { return sink_ != nullptr; }

  void Emit(const char* kind) const {
    if (sink_ != nullptr) sink_->Write(TraceEvent{kind, {}});
  }
  // fill(TraceEvent&) adds the fields; it runs only when somebody listens.
  template <class Fill>
  void Emit(const char* kind, Fill&& fill) const {
    if (sink_ == nullptr) return;
    TraceEvent event{kind, {}};
    fill(event);
    sink_->Write(event);
  }

 private:
  TraceSink* sink_ = nullptr;
};

}  // namespace kav
