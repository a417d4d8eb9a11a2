#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kav {

// The languages the player can choose; Japanese is the game's own and the default.
enum class Language { kJapanese, kEnglish };

// "ja" and "en"; nothing else names a language.
std::optional<Language> LanguageNamed(std::string_view code);
// The code that names it.
std::string_view LanguageCode(Language language);

// The texts the player reads in one language. The game's texts are Japanese and stay in the
// game's tables; a translation is a catalogue keyed by the Japanese text itself, so a text the
// catalogue lacks reads in Japanese rather than not at all.
class Texts {
 public:
  using Entries = std::map<std::string, std::string, std::less<>>;

  Texts() = default;  // Japanese: every text as the game has it
  explicit Texts(Entries entries) : entries_(std::move(entries)) {}

  // What the player reads for the game's text ja.
  std::string operator()(std::string_view ja) const;
  // The translation of ja, or none.
  const std::string* Find(std::string_view ja) const;

 private:
  Entries entries_;
};

// A catalogue in gettext's .po layout: msgid the Japanese text, msgstr its translation, each
// string one or more quoted pieces with the escapes \" \\ \n \t. The header (empty msgid) and
// entries with an empty msgstr add nothing. Returns false, with the line and reason in error,
// on anything it cannot read (entries before the fault are kept).
bool ParsePoCatalogue(std::string_view po, Texts::Entries& entries, std::string& error);

// The texts of a language; English is lang/en.po, built into the program.
const Texts& TextsOf(Language language);

// lang/en.po as it was built in.
std::string_view EnglishCatalogueSource();

}  // namespace kav
