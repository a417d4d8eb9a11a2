#pragma once

#include <string>
#include <string_view>

// Each slice of the game's state register declares its variables once, in a list macro of
//   VAR(type, Name, initial value)
// entries. KAV_DECLARE_VAR makes the list the struct's members; KAV_VISIT_VAR, expanded in a
// function of parameters `s` (the slice) and `v` (the visitor), hands each variable to the
// visitor under its name. A variable therefore cannot be added without its name, and the
// runner's state, set and expect read the names from the same list.
// A type with a comma in it goes in KAV_TYPE(...), which keeps it one macro argument; a
// comment inside a list is a /* */ one, as a // comment would swallow the lines after it.
#define KAV_TYPE(...) __VA_ARGS__
#define KAV_DECLARE_VAR(type, name, init) type name = init;
#define KAV_VISIT_VAR(type, name, init) ::kav::VisitVar(#name, s.name, v);

namespace kav {

// A record held in a variable of its own (the Heli record) lists its fields as Name.Field, as
// the game names them; a record inside an array stays whole.
template <class T, class V>
void VisitVar(std::string_view name, T& var, V& v) {
  if constexpr (requires { VisitFields(var, [](std::string_view, auto&) {}); }) {
    VisitFields(var, [&](std::string_view field, auto& value) {
      const std::string full = std::string(name) + "." + std::string(field);
      v(std::string_view(full), value);
    });
  } else {
    v(name, var);
  }
}

}  // namespace kav
