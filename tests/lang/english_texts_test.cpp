#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "base/texts.h"
#include "base/utf8.h"
#include "gfx/graphics.h"
#include "gfx/message_window.h"
#include "stages/stage_table.h"

namespace kav {
namespace {

std::string Hex(char32_t c) {
  std::ostringstream out;
  out << "U+" << std::hex << std::uppercase << static_cast<uint32_t>(c);
  return out.str();
}

bool IsHalfWidthKatakana(char32_t c) {
  return c >= 0xFF61 && c <= 0xFF9F;
}

// The message window's texts are the half-width ones; the dialog's are full-width.
bool TypedInTheWindow(std::string_view ja) {
  for (const char32_t c : DecodeUtf8(ja)) {
    if (IsHalfWidthKatakana(c)) return true;
  }
  return false;
}

Texts::Entries EnglishEntries() {
  Texts::Entries entries;
  std::string error;
  EXPECT_TRUE(ParsePoCatalogue(EnglishCatalogueSource(), entries, error)) << "lang/en.po: " << error;
  return entries;
}

TEST(Catalogue, ReadsThePoLayoutAndFallsBackToTheJapanese) {
  Texts::Entries entries;
  std::string error;
  ASSERT_TRUE(
      ParsePoCatalogue("# a comment\nmsgid \"\"\nmsgstr \"\"\n\"Language: en\\n\"\n\n"
                       "msgid \"ｱ\"\nmsgstr \"A \\\"B\\\" \\\\\"\n\n"
                       "msgid \"ｲ\"\n\"ｳ\"\nmsgstr \"\"\n\"IU\"\r\n"
                       "msgid \"ｴ\"\nmsgstr \"\"\n",
                       entries, error))
      << error;
  const Texts texts(entries);
  EXPECT_EQ(texts("ｱ"), "A \"B\" \\");
  EXPECT_EQ(texts("ｲｳ"), "IU") << "pieces join, a CR LF line end is taken";
  EXPECT_EQ(texts("ｴ"), "ｴ") << "an empty msgstr is no translation";
  EXPECT_EQ(texts("ｵ"), "ｵ") << "a text the catalogue lacks stays Japanese";
  EXPECT_EQ(texts(""), "") << "the header is no entry";
  EXPECT_EQ(TextsOf(Language::kJapanese)("ｱ"), "ｱ");

  const struct {
    const char* po;
    const char* reason;
  } kFaults[] = {
      {"msgid \"a\"\nmsgstr \"b\"\nmsgid \"a\"\nmsgstr \"c\"\n", "line 3: a msgid that is there twice"},
      {"msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"c\"\n", "line 1: a msgid without its msgstr"},
      {"msgstr \"b\"\n", "line 1: a msgstr without its msgid"},
      {"msgctxt \"x\"\nmsgid \"a\"\nmsgstr \"b\"\n", "line 1: an unknown keyword: msgctxt"},
      {"msgid \"a\nmsgstr \"b\"\n", "line 1: a string must be in double quotes"},
      {"msgid \"a\\q\"\nmsgstr \"b\"\n", "line 1: an unknown escape \\q"},
      {"msgid \"a\"\nmsgstr \"b\"c\"\n", "line 2: an unescaped quote inside a string"},
  };
  for (const auto& fault : kFaults) {
    Texts::Entries some;
    std::string reason;
    EXPECT_FALSE(ParsePoCatalogue(fault.po, some, reason)) << fault.po;
    EXPECT_EQ(reason, fault.reason) << fault.po;
  }
}

TEST(Catalogue, LanguagesAreNamedByTheirCodes) {
  EXPECT_EQ(LanguageNamed("ja"), Language::kJapanese);
  EXPECT_EQ(LanguageNamed("en"), Language::kEnglish);
  EXPECT_EQ(LanguageNamed(""), std::nullopt);
  EXPECT_EQ(LanguageNamed("EN"), std::nullopt);
  EXPECT_EQ(LanguageNamed("en_GB"), std::nullopt);
}

// Every English line of the message window is drawn with the glyph sheet's own characters
// and stays inside the window, with the time and the name that some of them are followed by.
TEST(EnglishTexts, EveryMessageLineHasItsGlyphsAndFitsTheWindow) {
  std::array<std::string, 5> rows;
  for (size_t r = 0; r < rows.size(); ++r) rows[r] = kGlyphRows[r];
  // A six-column time and, on the best line, a blank and an eight-letter name.
  const std::map<std::string, int> kFollowedBy = {
      {kBestLinePrefix, 6 + 1 + 8}, {"   &ｲﾏﾉﾀｲﾑ  : ", 6}, {" /ｲﾏﾉﾀｲﾑ  : ", 6}};
  int lines = 0;
  for (const auto& [ja, en] : EnglishEntries()) {
    if (!TypedInTheWindow(ja)) continue;
    ++lines;
    const MessageLineFit fit = FitMessageLine(rows, en);
    EXPECT_EQ(fit.missing, 0) << "\"" << en << "\" has " << Hex(fit.missing) << ", which the glyph sheet lacks";
    const auto more = kFollowedBy.find(ja);
    const int columns = fit.columns + (more != kFollowedBy.end() ? more->second : 0);
    EXPECT_LE(columns, kMessageColumns) << "\"" << en << "\" takes " << columns << " columns";
  }
  EXPECT_GE(lines, 70);

  EXPECT_EQ(FitMessageLine(rows, "$A-B").missing, U'-') << "the check itself finds a gap";
  EXPECT_EQ(FitMessageLine(rows, "&ｱ/ B").columns, 3) << "mark-up takes no column";
}

TEST(EnglishTexts, AreAllPlainAscii) {
  for (const auto& [ja, en] : EnglishEntries()) {
    for (const char c : en) {
      EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80 && c != '\n' && c != '\t') << ja << " -> " << en;
    }
  }
}

// The string literals of the game's sources that hold anything but ASCII: the texts the
// player reads in Japanese. Prefixed literals (U"...") are character tables, not texts.
std::vector<std::string> JapaneseLiterals(const std::string& source) {
  std::vector<std::string> found;
  const size_t n = source.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = source[i];
    if (c == '/' && i + 1 < n && source[i + 1] == '/') {
      i = source.find('\n', i);
      if (i == std::string::npos) break;
    } else if (c == '/' && i + 1 < n && source[i + 1] == '*') {
      i = source.find("*/", i + 2);
      if (i == std::string::npos) break;
      ++i;
    } else if (c == '\'') {
      for (++i; i < n && source[i] != '\''; ++i) {
        if (source[i] == '\\') ++i;
      }
    } else if (c == '"') {
      const bool prefixed = i > 0 && (std::isalnum(static_cast<unsigned char>(source[i - 1])) || source[i - 1] == '_');
      std::string text;
      for (++i; i < n && source[i] != '"'; ++i) {
        if (source[i] == '\\' && i + 1 < n) text += source[i++];
        text += source[i];
      }
      const bool wide = std::any_of(text.begin(), text.end(), [](char b) { return (b & 0x80) != 0; });
      if (!prefixed && wide) found.push_back(text);
    }
  }
  return found;
}

TEST(EnglishTexts, NoneIsMissingAndNoneIsLeftOver) {
  std::set<std::string> texts;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(KAVRONA_SOURCE_DIR) + "/src")) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::string& text : JapaneseLiterals(source)) texts.insert(text);
  }
  // The glyph sheet's rows are characters, not texts.
  for (const char* row : kGlyphRows) texts.erase(row);
  // The sound switch's state, which the menu widens.
  texts.insert("ＯＮ");
  texts.insert("ＯＦＦ");
  ASSERT_GE(texts.size(), 100u) << "the sources were not found under " << KAVRONA_SOURCE_DIR;

  const Texts::Entries entries = EnglishEntries();
  std::string missing;
  for (const std::string& ja : texts) {
    if (entries.find(ja) == entries.end()) missing += "\n  \"" + ja + "\"";
  }
  // Listed as they are, which EXPECT_EQ would print as escaped bytes.
  if (!missing.empty()) ADD_FAILURE() << "texts without English in lang/en.po:" << missing;
  std::string leftOver;
  for (const auto& [ja, en] : entries) {
    if (texts.count(ja) == 0) leftOver += "\n  \"" + ja + "\"";
  }
  if (!leftOver.empty()) ADD_FAILURE() << "English in lang/en.po for texts the game no longer has:" << leftOver;
}

}  // namespace
}  // namespace kav
