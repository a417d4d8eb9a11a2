#include "runner/state_codec.h"

#include <cmath>
#include <concepts>
#include <cstdio>
#include <limits>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kav::runner {
namespace {

template <class T>
struct IsStdArray : std::false_type {};
template <class T, size_t N>
struct IsStdArray<std::array<T, N>> : std::true_type {};
template <class T>
struct IsStdVector : std::false_type {};
template <class T, class A>
struct IsStdVector<std::vector<T, A>> : std::true_type {};

// A record: a struct whose fields are listed by a VisitFields of its own.
template <class T>
concept Record = requires(T& t) {
  VisitFields(t, [](std::string_view, auto&) {});
};

// The register's 16-bit integers are its Booleans (True = -1).
template <class T>
concept GameBoolean = std::same_as<T, int16_t>;

TraceValue Encode(const bool& v) {
  return v;
}
TraceValue Encode(const int16_t& v) {
  if (v == kTrue) return true;
  if (v == kFalse) return false;
  return v;
}
template <std::integral T>
requires(!std::same_as<T, bool> && !GameBoolean<T>) TraceValue Encode(const T& v) {
  return v;
}
template <std::floating_point T>
TraceValue Encode(const T& v) {
  return static_cast<double>(v);
}
TraceValue Encode(const std::string& v) {
  return v;
}
TraceValue Encode(const std::vector<uint8_t>& bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const uint8_t b : bytes) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", b);
    hex += two;
  }
  return hex;
}
TraceValue Encode(const WindowRect& r) {
  return TraceValue::Array{r.Left, r.Top, r.Width, r.Height};
}
TraceValue Encode(Control* const& c) {
  return c != nullptr;
}
template <Record T>
TraceValue Encode(const T& record) {
  TraceValue::Object fields;
  VisitFields(const_cast<T&>(record),
              [&](std::string_view name, auto& field) { fields.emplace_back(std::string(name), Encode(field)); });
  return fields;
}
template <class T>
requires(IsStdArray<T>::value || (IsStdVector<T>::value && !std::same_as<T, std::vector<uint8_t>>)) TraceValue
    Encode(const T& items) {
  TraceValue::Array out;
  out.reserve(items.size());
  for (const auto& item : items) out.push_back(Encode(item));
  return out;
}

// Decoding: assigns `out` from `v`, or says what is wrong.
std::string Decode(const TraceValue& v, bool& out) {
  if (!v.Is<bool>()) return "wants true or false";
  out = v.As<bool>();
  return {};
}

template <std::integral T>
requires(!std::same_as<T, bool>) std::string Decode(const TraceValue& v, T& out) {
  if constexpr (GameBoolean<T>) {
    if (v.Is<bool>()) {
      out = v.As<bool>() ? kTrue : kFalse;
      return {};
    }
  }
  if (!v.IsNumber()) return GameBoolean<T> ? "wants true, false or a whole number" : "wants a whole number";
  const double d = v.Number();
  int64_t whole = 0;
  if (v.Is<int64_t>()) {
    whole = v.As<int64_t>();
  } else {
    if (std::trunc(d) != d || std::fabs(d) > 9.2e18) return "wants a whole number";
    whole = static_cast<int64_t>(d);
  }
  if (whole < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
      (whole > 0 && static_cast<uint64_t>(whole) > static_cast<uint64_t>(std::numeric_limits<T>::max()))) {
    return "is out of range";
  }
  out = static_cast<T>(whole);
  return {};
}

template <std::floating_point T>
std::string Decode(const TraceValue& v, T& out) {
  if (!v.IsNumber()) return "wants a number";
  out = static_cast<T>(v.Number());
  return {};
}

std::string Decode(const TraceValue& v, std::string& out) {
  if (!v.Is<std::string>()) return "wants a string";
  out = v.As<std::string>();
  return {};
}

std::string Decode(const TraceValue& v, std::vector<uint8_t>& out) {
  if (!v.Is<std::string>()) return "wants a string of hexadecimal digits";
  const std::string& hex = v.As<std::string>();
  if (hex.size() % 2 != 0) return "wants an even number of hexadecimal digits";
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    unsigned value = 0;
    if (std::sscanf(hex.substr(i, 2).c_str(), "%2x", &value) != 1) return "wants hexadecimal digits";
    bytes.push_back(static_cast<uint8_t>(value));
  }
  out = std::move(bytes);
  return {};
}

std::string Decode(const TraceValue& v, WindowRect& out) {
  if (!v.Is<TraceValue::Array>() || v.As<TraceValue::Array>().size() != 4) {
    return "wants [left, top, width, height]";
  }
  const auto& a = v.As<TraceValue::Array>();
  WindowRect r;
  for (auto [i, field] : {std::pair{0, &r.Left}, {1, &r.Top}, {2, &r.Width}, {3, &r.Height}}) {
    if (std::string e = Decode(a[static_cast<size_t>(i)], *field); !e.empty()) return e;
  }
  out = r;
  return {};
}

template <Record T>
std::string Decode(const TraceValue& v, T& out) {
  if (!v.Is<TraceValue::Object>()) return "wants an object";
  T copy = out;
  std::string error;
  for (const auto& entry : v.As<TraceValue::Object>()) {
    // Named, not bound: clang before 16 cannot capture a structured binding in a lambda.
    const std::string& key = entry.first;
    const TraceValue& value = entry.second;
    bool found = false;
    VisitFields(copy, [&](std::string_view name, auto& field) {
      if (key != name || !error.empty()) return;
      found = true;
      if (std::string e = Decode(value, field); !e.empty()) error = key + " " + e;
    });
    if (!found && error.empty()) error = "has no field " + key;
  }
  if (!error.empty()) return error;
  out = copy;
  return {};
}

template <class T>
requires(IsStdArray<T>::value || (IsStdVector<T>::value && !std::same_as<T, std::vector<uint8_t>>)) std::string
    Decode(const TraceValue& v, T& out) {
  if (!v.Is<TraceValue::Array>()) return "wants an array";
  const auto& items = v.As<TraceValue::Array>();
  T copy = out;
  if constexpr (IsStdArray<T>::value) {
    if (items.size() != copy.size()) return "wants an array of " + std::to_string(copy.size()) + " elements";
  } else {
    copy.resize(items.size());
  }
  for (size_t i = 0; i < items.size(); ++i) {
    if (std::string e = Decode(items[i], copy[i]); !e.empty()) return "element " + std::to_string(i) + " " + e;
  }
  out = std::move(copy);
  return {};
}

struct Collector {
  std::vector<StateVar>& vars;

  template <class T>
  void operator()(std::string_view name, T& field) {
    StateVar var;
    var.name = name;
    var.get = [&field] { return Encode(field); };
    var.set = [&field](const TraceValue& v) { return Decode(v, field); };
    var.normalise = [&field](const TraceValue& want, TraceValue& normalised) {
      T copy = field;
      std::string error = Decode(want, copy);
      if (error.empty()) normalised = Encode(copy);
      return error;
    };
    vars.push_back(std::move(var));
  }
  void operator()(std::string_view name, std::array<Control*, 10>& field) {
    // Picture boxes compare as the true / false the state lists, and are never set.
    StateVar var;
    var.name = name;
    var.get = [&field] { return Encode(field); };
    var.set = [](const TraceValue&) { return std::string("holds picture boxes and cannot be set"); };
    var.normalise = [](const TraceValue& want, TraceValue& normalised) {
      normalised = want;
      return std::string();
    };
    vars.push_back(std::move(var));
  }
};

}  // namespace

std::vector<StateVar> StateVars(GameState& g) {
  std::vector<StateVar> vars;
  VisitStateVars(g, Collector{vars});
  return vars;
}

bool SameValue(const TraceValue& a, const TraceValue& b) {
  if (a.IsNumber() && b.IsNumber()) return std::fabs(a.Number() - b.Number()) <= 1e-9;
  if (a.data().index() != b.data().index()) return false;
  if (a.Is<TraceValue::Array>()) {
    const auto& x = a.As<TraceValue::Array>();
    const auto& y = b.As<TraceValue::Array>();
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i) {
      if (!SameValue(x[i], y[i])) return false;
    }
    return true;
  }
  if (a.Is<TraceValue::Object>()) {
    const auto& x = a.As<TraceValue::Object>();
    const auto& y = b.As<TraceValue::Object>();
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i) {
      if (x[i].first != y[i].first || !SameValue(x[i].second, y[i].second)) return false;
    }
    return true;
  }
  if (a.Is<bool>()) return a.As<bool>() == b.As<bool>();
  if (a.Is<std::string>()) return a.As<std::string>() == b.As<std::string>();
  return true;  // both null
}

void AddStateFields(Game& g, const std::vector<StateVar>& vars, TraceEvent& event) {
  TraceValue::Object values;
  values.reserve(vars.size());
  for (const StateVar& var : vars) values.emplace_back(var.name, var.get());
  event.Add("vars", std::move(values));

  TraceValue::Array pics;
  for (int id = 0; id < static_cast<int>(Pic::Count); ++id) {
    const Control& c = g.screen[static_cast<Pic>(id)];
    pics.push_back(TraceValue::Object{{"name", c.Name},
                                      {"left", c.Left},
                                      {"top", c.Top},
                                      {"width", c.Width()},
                                      {"height", c.Height()},
                                      {"visible", c.Visible}});
  }
  event.Add("pics", std::move(pics));

  event.Add("dialog", Encode(g.dialog));
}

}  // namespace kav::runner
