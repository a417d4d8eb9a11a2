#include "records/shift_jis.h"

#ifdef __EMSCRIPTEN__
#include "records/code_page_web.h"
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <cstddef>

namespace kav {
namespace {

#ifndef __EMSCRIPTEN__
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // iconv says "no converter" with the all-ones handle.
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }  // NOLINT(performance-no-int-to-ptr)

  // Strict: any byte sequence iconv cannot map fails the whole conversion.
  std::optional<std::string> Convert(std::string_view in) {
    if (!Ok()) return std::nullopt;
    std::string out;
    // CP932 -> UTF-8 grows at most 3 bytes per input byte; the other way never grows.
    out.resize(in.size() * 3 + 4);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
      if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        if (errno != E2BIG) return std::nullopt;
        const std::size_t used = static_cast<std::size_t>(outPtr - out.data());
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
      }
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return out;
  }

 private:
  iconv_t cd_;
};
#endif

constexpr const char* kCodePage = "CP932";
const char* activeCodePage = kCodePage;

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when it is malformed.
std::size_t Utf8SequenceLength(std::string_view s) {
  const auto lead = static_cast<unsigned char>(s[0]);
  std::size_t length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  else
    return 0;
  if (s.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::optional<std::string> ShiftJisToUtf8(std::string_view sjis) {
  if (IsAscii(sjis)) return std::string(sjis);
  Converter converter("UTF-8", activeCodePage);
  return converter.Convert(sjis);
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8) {
  Converter converter(activeCodePage, "UTF-8");
  return converter.Convert(utf8);
}

std::string Utf8ToShiftJisReplacing(std::string_view utf8, char replacement) {
  Converter converter(activeCodePage, "UTF-8");
  if (auto whole = converter.Convert(utf8)) return *whole;
  // Slow path only for text that really holds something unencodable.
  std::string out;
  while (!utf8.empty()) {
    std::size_t length = Utf8SequenceLength(utf8);
    std::optional<std::string> one;
    if (length > 0) one = converter.Convert(utf8.substr(0, length));
    if (one) {
      out += *one;
    } else {
      out += replacement;
      if (length == 0) length = 1;
    }
    utf8.remove_prefix(length);
  }
  return out;
}

bool ShiftJisConverterAvailable() {
  const Converter toUtf8("UTF-8", activeCodePage);
  const Converter fromUtf8(activeCodePage, "UTF-8");
  return toUtf8.Ok() && fromUtf8.Ok();
}

void SetCodePageForTesting(const char* codePage) {
  activeCodePage = codePage != nullptr ? codePage : kCodePage;
}

}  // namespace kav
