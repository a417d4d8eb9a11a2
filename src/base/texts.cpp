#include "base/texts.h"

#include <cstddef>

namespace kav {
namespace {

class PoReader {
 public:
  PoReader(std::string_view po, Texts::Entries& entries, std::string& error)
      : po_(po), entries_(entries), error_(error) {}

  bool Read() {
    size_t begin = 0;
    while (begin <= po_.size()) {
      size_t end = po_.find('\n', begin);
      if (end == std::string_view::npos) end = po_.size();
      ++line_;
      std::string_view text = po_.substr(begin, end - begin);
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      if (!Line(text)) return false;
      begin = end + 1;
    }
    return Finish();
  }

 private:
  enum class Field { kNone, kId, kText };

  std::string_view po_;
  Texts::Entries& entries_;
  std::string& error_;
  int line_ = 0;
  int entryLine_ = 0;
  Field field_ = Field::kNone;
  bool haveId_ = false;
  bool haveText_ = false;
  std::string id_;
  std::string text_;

  bool Fail(const std::string& reason, int line = 0) {
    error_ = "line " + std::to_string(line != 0 ? line : line_) + ": " + reason;
    return false;
  }

  static std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
  }

  bool Quoted(std::string_view s, std::string& out) {
    s = Trimmed(s);
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return Fail("a string must be in double quotes");
    s = s.substr(1, s.size() - 2);
    for (size_t i = 0; i < s.size(); ++i) {
      const char c = s[i];
      if (c == '"') return Fail("an unescaped quote inside a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (++i == s.size()) return Fail("a string ends in a backslash");
      switch (s[i]) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        default:
          return Fail(std::string("an unknown escape \\") + s[i]);
      }
    }
    return true;
  }

  bool Finish() {
    if (!haveId_ && !haveText_) return true;
    if (!haveId_) return Fail("a msgstr without its msgid");
    if (!haveText_) return Fail("a msgid without its msgstr", entryLine_);
    if (!id_.empty() && !text_.empty()) {
      if (!entries_.emplace(id_, text_).second) {
        return Fail("a msgid that is there twice", entryLine_);
      }
    }
    haveId_ = haveText_ = false;
    id_.clear();
    text_.clear();
    field_ = Field::kNone;
    return true;
  }

  static bool Keyword(std::string_view text, std::string_view word, std::string_view& rest) {
    if (text.substr(0, word.size()) != word || text.size() == word.size()) return false;
    if (text[word.size()] != ' ' && text[word.size()] != '\t') return false;
    rest = text.substr(word.size());
    return true;
  }

  bool Line(std::string_view raw) {
    const std::string_view text = Trimmed(raw);
    if (text.empty()) return Finish();
    if (text.front() == '#') return true;
    std::string_view rest;
    if (Keyword(text, "msgid", rest)) {
      if (!Finish()) return false;
      haveId_ = true;
      entryLine_ = line_;
      field_ = Field::kId;
      return Quoted(rest, id_);
    }
    if (Keyword(text, "msgstr", rest)) {
      if (!haveId_ || haveText_) return Fail("a msgstr without its msgid");
      haveText_ = true;
      field_ = Field::kText;
      return Quoted(rest, text_);
    }
    if (text.front() == '"') {
      if (field_ == Field::kId) return Quoted(text, id_);
      if (field_ == Field::kText) return Quoted(text, text_);
      return Fail("a string that belongs to no msgid or msgstr");
    }
    // msgctxt, msgid_plural and the like: the game's texts have no use for them.
    return Fail("an unknown keyword: " + std::string(text.substr(0, text.find(' '))));
  }
};

}  // namespace

std::optional<Language> LanguageNamed(std::string_view code) {
  if (code == "ja") return Language::kJapanese;
  if (code == "en") return Language::kEnglish;
  return std::nullopt;
}

std::string_view LanguageCode(Language language) {
  return language == Language::kEnglish ? "en" : "ja";
}

std::string Texts::operator()(std::string_view ja) const {
  const std::string* found = Find(ja);
  return found != nullptr ? *found : std::string(ja);
}

const std::string* Texts::Find(std::string_view ja) const {
  const auto it = entries_.find(ja);
  return it != entries_.end() ? &it->second : nullptr;
}

bool ParsePoCatalogue(std::string_view po, Texts::Entries& entries, std::string& error) {
  return PoReader(po, entries, error).Read();
}

const Texts& TextsOf(Language language) {
  static const Texts kJapanese;
  static const Texts kEnglish = [] {
    Texts::Entries entries;
    std::string error;
    // A fault in the catalogue is the test suite's to report; the game keeps what it read.
    ParsePoCatalogue(EnglishCatalogueSource(), entries, error);
    return Texts(std::move(entries));
  }();
  return language == Language::kEnglish ? kEnglish : kJapanese;
}

}  // namespace kav
