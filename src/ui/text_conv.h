#pragma once

#include <string>
#include <string_view>

namespace kav {

// Upper case, then narrow: Latin letters (also full-width ones) to capitals; full-width
// letters, digits and signs to ASCII; full-width katakana and Japanese punctuation to their
// half-width forms, a voiced or semi-voiced kana becoming its base kana and a separate mark.
std::string ToUpperAndNarrow(std::string_view utf8);

// Wide: printable ASCII to its full-width form (the blank to the ideographic space); other
// characters stay as they are.
std::string ToFullWidth(std::string_view utf8);

// A path for a dialog line: at most columns wide (a full-width character takes two), its
// beginning replaced by "..." when it is longer. Cut between characters.
std::string ShortenedPath(std::string_view path, int columns);

// The number of characters, as the game counts a name's length.
size_t CharCount(std::string_view utf8);

}  // namespace kav
