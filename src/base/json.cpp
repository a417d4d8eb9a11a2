#include "base/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/shortest_double.h"
#include "base/utf8.h"

namespace kav {
namespace {

void AppendString(std::string& out, std::string_view s) {
  out += '"';
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
          out += escaped;
        } else {
          out += c;  // UTF-8 passes through as the game holds it
        }
    }
  }
  out += '"';
}

void AppendDouble(std::string& out, double d) {
  if (!std::isfinite(d)) {
    out += "null";
    return;
  }
  const std::string text = ShortestDouble(d);
  out += text;
  // Keeps a whole double readable as a double, not an integer.
  if (text.find_first_of(".eE") == std::string::npos) out += ".0";
}

void Append(std::string& out, const TraceValue& value);

void AppendObjectBody(std::string& out, const TraceValue::Object& fields, bool leadingComma) {
  bool first = !leadingComma;
  for (const auto& [key, v] : fields) {
    if (!first) out += ',';
    first = false;
    AppendString(out, key);
    out += ':';
    Append(out, v);
  }
}

void Append(std::string& out, const TraceValue& value) {
  const TraceValue::Data& d = value.data();
  if (std::holds_alternative<std::monostate>(d)) {
    out += "null";
  } else if (const bool* b = std::get_if<bool>(&d)) {
    out += *b ? "true" : "false";
  } else if (const int64_t* i = std::get_if<int64_t>(&d)) {
    out += std::to_string(*i);
  } else if (const double* x = std::get_if<double>(&d)) {
    AppendDouble(out, *x);
  } else if (const std::string* s = std::get_if<std::string>(&d)) {
    AppendString(out, *s);
  } else if (const TraceValue::Array* a = std::get_if<TraceValue::Array>(&d)) {
    out += '[';
    for (size_t k = 0; k < a->size(); ++k) {
      if (k > 0) out += ',';
      Append(out, (*a)[k]);
    }
    out += ']';
  } else {
    out += '{';
    AppendObjectBody(out, std::get<TraceValue::Object>(d), false);
    out += '}';
  }
}

class Parser {
 public:
  Parser(std::string_view& text, std::string& error) : text_(text), error_(error) {}

  std::optional<TraceValue> Value(int depth) {
    if (depth > 64) return Fail("nested too deeply");
    SkipBlanks();
    if (text_.empty()) return Fail("a value is missing");
    const char c = text_.front();
    if (c == '"') {
      std::optional<std::string> s = String();
      if (!s) return std::nullopt;
      return TraceValue(std::move(*s));
    }
    if (c == '[') return ArrayValue(depth);
    if (c == '{') return ObjectValue(depth);
    if (c == '-' || (c >= '0' && c <= '9')) return NumberValue();
    if (Word("true")) return TraceValue(true);
    if (Word("false")) return TraceValue(false);
    if (Word("null")) return TraceValue();
    return Fail("not a JSON value");
  }

 private:
  std::string_view& text_;
  std::string& error_;

  std::nullopt_t Fail(const char* why) {
    error_ = why;
    return std::nullopt;
  }
  void SkipBlanks() {
    while (!text_.empty() && (text_.front() == ' ' || text_.front() == '\t')) text_.remove_prefix(1);
  }
  bool Word(std::string_view w) {
    if (text_.substr(0, w.size()) != w) return false;
    text_.remove_prefix(w.size());
    return true;
  }

  // The length of the JSON number at the front: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?,
  // or 0 when there is none.
  static size_t NumberLength(std::string_view t, bool& isDouble) {
    size_t n = 0;
    auto digits = [&] {
      const size_t from = n;
      while (n < t.size() && t[n] >= '0' && t[n] <= '9') ++n;
      return n - from;
    };
    if (n < t.size() && t[n] == '-') ++n;
    if (n < t.size() && t[n] == '0') {
      ++n;
    } else if (digits() == 0) {
      return 0;
    }
    if (n < t.size() && t[n] == '.') {
      ++n;
      isDouble = true;
      if (digits() == 0) return 0;
    }
    if (n < t.size() && (t[n] == 'e' || t[n] == 'E')) {
      ++n;
      isDouble = true;
      if (n < t.size() && (t[n] == '+' || t[n] == '-')) ++n;
      if (digits() == 0) return 0;
    }
    return n;
  }

  std::optional<TraceValue> NumberValue() {
    bool isDouble = false;
    const size_t n = NumberLength(text_, isDouble);
    if (n == 0) return Fail("not a number");
    const std::string_view digits = text_.substr(0, n);
    if (!isDouble) {
      int64_t i = 0;
      const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), i);
      if (r.ec == std::errc() && r.ptr == digits.data() + digits.size()) {
        text_.remove_prefix(n);
        return TraceValue(i);
      }
    }
    double d = 0;
    if (!ParseDouble(digits, d)) return Fail("not a number");
    text_.remove_prefix(n);
    return TraceValue(d);
  }

  std::optional<uint32_t> Hex4() {
    if (text_.size() < 4) return std::nullopt;
    uint32_t v = 0;
    const auto r = std::from_chars(text_.data(), text_.data() + 4, v, 16);
    if (r.ptr != text_.data() + 4) return std::nullopt;
    text_.remove_prefix(4);
    return v;
  }

  std::optional<std::string> String() {
    text_.remove_prefix(1);
    std::string out;
    while (!text_.empty()) {
      const char c = text_.front();
      text_.remove_prefix(1);
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (text_.empty()) break;
      const char e = text_.front();
      text_.remove_prefix(1);
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u': {
          std::optional<uint32_t> cp = Hex4();
          if (!cp) return Fail("a bad \\u escape");
          if (*cp >= 0xD800 && *cp < 0xDC00 && text_.substr(0, 2) == "\\u") {
            text_.remove_prefix(2);
            std::optional<uint32_t> low = Hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return Fail("a bad surrogate pair");
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
          }
          AppendUtf8(out, static_cast<char32_t>(*cp));
        } break;
        default:
          return Fail("a bad escape in a string");
      }
    }
    return Fail("a string without its closing quote");
  }

  std::optional<TraceValue> ArrayValue(int depth) {
    text_.remove_prefix(1);
    TraceValue::Array items;
    SkipBlanks();
    if (!text_.empty() && text_.front() == ']') {
      text_.remove_prefix(1);
      return TraceValue(std::move(items));
    }
    for (;;) {
      std::optional<TraceValue> item = Value(depth + 1);
      if (!item) return std::nullopt;
      items.push_back(std::move(*item));
      SkipBlanks();
      if (text_.empty()) return Fail("an array without its closing bracket");
      if (text_.front() == ',') {
        text_.remove_prefix(1);
        continue;
      }
      if (text_.front() == ']') {
        text_.remove_prefix(1);
        return TraceValue(std::move(items));
      }
      return Fail("a bad separator in an array");
    }
  }

  std::optional<TraceValue> ObjectValue(int depth) {
    text_.remove_prefix(1);
    TraceValue::Object fields;
    SkipBlanks();
    if (!text_.empty() && text_.front() == '}') {
      text_.remove_prefix(1);
      return TraceValue(std::move(fields));
    }
    for (;;) {
      SkipBlanks();
      if (text_.empty() || text_.front() != '"') return Fail("an object key must be a string");
      std::optional<std::string> key = String();
      if (!key) return std::nullopt;
      SkipBlanks();
      if (text_.empty() || text_.front() != ':') return Fail("a colon is missing in an object");
      text_.remove_prefix(1);
      std::optional<TraceValue> v = Value(depth + 1);
      if (!v) return std::nullopt;
      fields.emplace_back(std::move(*key), std::move(*v));
      SkipBlanks();
      if (text_.empty()) return Fail("an object without its closing brace");
      if (text_.front() == ',') {
        text_.remove_prefix(1);
        continue;
      }
      if (text_.front() == '}') {
        text_.remove_prefix(1);
        return TraceValue(std::move(fields));
      }
      return Fail("a bad separator in an object");
    }
  }
};

}  // namespace

std::string ToJson(const TraceValue& value) {
  std::string out;
  Append(out, value);
  return out;
}

std::string TraceLine(const TraceEvent& event, int32_t ticks) {
  std::string out = "{\"ev\":";
  AppendString(out, event.kind);
  out += ",\"t\":";
  out += std::to_string(ticks);
  AppendObjectBody(out, event.fields, true);
  out += '}';
  return out;
}

std::optional<TraceValue> ParseJson(std::string_view& text, std::string& error) {
  Parser parser(text, error);
  return parser.Value(0);
}

}  // namespace kav
