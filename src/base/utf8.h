#pragma once

#include <string>
#include <string_view>

namespace kav {

// Code points of UTF-8 text; a malformed byte reads as U+FFFD so that nothing is lost silently.
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t c);

}  // namespace kav
