#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kav {

// Names live in the record file in Windows code page 932, so a file written on a Japanese
// Windows machine loads unchanged; in memory every string is UTF-8.

// nullopt when the bytes are not valid CP932 (a stray lead byte, an unassigned code).
std::optional<std::string> ShiftJisToUtf8(std::string_view sjis);

// nullopt when the text is not valid UTF-8 or holds a character CP932 cannot express.
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);

// For saving: every character CP932 cannot express, and every malformed UTF-8 byte, becomes
// `replacement`, as Windows writes a character its code page lacks. Never fails.
std::string Utf8ToShiftJisReplacing(std::string_view utf8, char replacement = '?');

}  // namespace kav
