#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kav {

// Names live in the record file in Windows code page 932, so a file written on a Japanese
// Windows machine loads unchanged; in memory every string is UTF-8.

// nullopt when the bytes are not valid CP932 (a stray lead byte, an unassigned code). Pure ASCII
// needs no converter, as those bytes stand for themselves in CP932; anything else fails when the
// converter is missing.
std::optional<std::string> ShiftJisToUtf8(std::string_view sjis);

// nullopt when the text is not valid UTF-8 or holds a character CP932 cannot express.
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);

// For saving: every character CP932 cannot express, and every malformed UTF-8 byte, becomes
// `replacement`, as Windows writes a character its code page lacks. Never fails.
std::string Utf8ToShiftJisReplacing(std::string_view utf8, char replacement = '?');

// Whether this system's iconv converts between UTF-8 and CP932 both ways. Without it every
// non-ASCII name would be lost on a save.
bool ShiftJisConverterAvailable();

// Lets a test stand in another code page name (an unknown one simulates a system without CP932);
// nullptr restores CP932.
void SetCodePageForTesting(const char* codePage);

}  // namespace kav
