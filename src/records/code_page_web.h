#pragma once

// The CP932 converter under WebAssembly, which has no iconv for it: the JavaScript side decodes
// with the runtime's TextDecoder("shift_jis") and encodes by the same table read backwards.
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

extern "C" {
// 1: the runtime converts between CP932 and UTF-8.
int kav_cp932_available();
// toCp932: 1 UTF-8 to CP932, 0 back. The result in a malloc'd block, or null when a sequence does
// not convert; its length goes to outSize.
char* kav_cp932_convert(int toCp932, const char* data, std::size_t size, std::size_t* outSize);
}

namespace kav {

class Converter {
 public:
  Converter(const char* to, const char* from)
      : toCp932_(std::strcmp(to, "CP932") == 0),
        ok_(kav_cp932_available() != 0 &&
            (toCp932_ ? std::strcmp(from, "UTF-8") == 0
                      : std::strcmp(to, "UTF-8") == 0 && std::strcmp(from, "CP932") == 0)) {}

  bool Ok() const { return ok_; }

  std::optional<std::string> Convert(std::string_view in) {
    if (!ok_) return std::nullopt;
    if (in.empty()) return std::string();
    std::size_t size = 0;
    char* out = kav_cp932_convert(toCp932_ ? 1 : 0, in.data(), in.size(), &size);
    if (out == nullptr) return std::nullopt;
    std::string text(out, size);
    std::free(out);
    return text;
  }

 private:
  bool toCp932_;
  bool ok_;
};

}  // namespace kav
