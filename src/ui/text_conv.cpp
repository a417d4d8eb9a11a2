#include "ui/text_conv.h"

#include "base/utf8.h"
#include "ui/dialog_layout.h"

namespace kav {
namespace {

// Half-width forms of the full-width katakana U+30A1..U+30FC, in order; 0 where there is none.
// A voiced kana maps to its base and takes U+FF9E after it, a semi-voiced one U+FF9F.
struct Narrow {
  char32_t base;
  char32_t mark;
};

Narrow KatakanaToHalfWidth(char32_t c) {
  // ァアィイゥウェエォオ
  static constexpr char32_t kVowels[] = {0xFF67, 0xFF71, 0xFF68, 0xFF72, 0xFF69,
                                         0xFF73, 0xFF6A, 0xFF74, 0xFF6B, 0xFF75};
  if (c >= 0x30A1 && c <= 0x30AA) return {kVowels[c - 0x30A1], 0};
  // カガキギクグケゲコゴサザシジスズセゼソゾタダチヂ: plain and voiced alternate.
  if (c >= 0x30AB && c <= 0x30C2) {
    const char32_t base = 0xFF76 + (c - 0x30AB) / 2;
    return {base, (c - 0x30AB) % 2 == 1 ? char32_t{0xFF9E} : char32_t{0}};
  }
  if (c == 0x30C3) return {0xFF6F, 0};  // ッ
  // ツヅテデトド
  if (c >= 0x30C4 && c <= 0x30C9) {
    const char32_t base = 0xFF82 + (c - 0x30C4) / 2;
    return {base, (c - 0x30C4) % 2 == 1 ? char32_t{0xFF9E} : char32_t{0}};
  }
  if (c >= 0x30CA && c <= 0x30CE) return {0xFF85 + (c - 0x30CA), 0};  // ナニヌネノ
  // ハバパヒビピフブプヘベペホボポ: plain, voiced, semi-voiced.
  if (c >= 0x30CF && c <= 0x30DD) {
    const int k = static_cast<int>(c - 0x30CF);
    const char32_t marks[] = {0, 0xFF9E, 0xFF9F};
    return {static_cast<char32_t>(0xFF8A + k / 3), marks[k % 3]};
  }
  if (c >= 0x30DE && c <= 0x30E2) return {0xFF8F + (c - 0x30DE), 0};  // マミムメモ
  // ャヤュユョヨ
  static constexpr char32_t kYa[] = {0xFF6C, 0xFF94, 0xFF6D, 0xFF95, 0xFF6E, 0xFF96};
  if (c >= 0x30E3 && c <= 0x30E8) return {kYa[c - 0x30E3], 0};
  if (c >= 0x30E9 && c <= 0x30ED) return {0xFF97 + (c - 0x30E9), 0};  // ラリルレロ
  switch (c) {
    case 0x30EF:
      return {0xFF9C, 0};  // ワ
    case 0x30F2:
      return {0xFF66, 0};  // ヲ
    case 0x30F3:
      return {0xFF9D, 0};  // ン
    case 0x30F4:
      return {0xFF73, 0xFF9E};  // ヴ
    case 0x30FB:
      return {0xFF65, 0};  // ・
    case 0x30FC:
      return {0xFF70, 0};  // ー
    default:
      return {0, 0};
  }
}

char32_t Upper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;  // ａ..ｚ
  return c;
}

void AppendNarrow(std::u32string& out, char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) {
    out += static_cast<char32_t>(c - 0xFEE0);
    return;
  }
  switch (c) {
    case 0x3000:
      out += U' ';
      return;
    case 0xFFE5:
      out += U'\\';  // the code page's yen sign
      return;
    case 0x3001:
      out += char32_t{0xFF64};  // 、
      return;
    case 0x3002:
      out += char32_t{0xFF61};  // 。
      return;
    case 0x300C:
      out += char32_t{0xFF62};  // 「
      return;
    case 0x300D:
      out += char32_t{0xFF63};  // 」
      return;
    case 0x309B:
      out += char32_t{0xFF9E};  // ゛
      return;
    case 0x309C:
      out += char32_t{0xFF9F};  // ゜
      return;
    default:
      break;
  }
  const Narrow n = KatakanaToHalfWidth(c);
  if (n.base == 0) {
    out += c;
    return;
  }
  out += n.base;
  if (n.mark != 0) out += n.mark;
}

}  // namespace

std::string ToUpperAndNarrow(std::string_view utf8) {
  std::u32string out;
  for (const char32_t c : DecodeUtf8(utf8)) AppendNarrow(out, Upper(c));
  return EncodeUtf8(out);
}

std::string ToFullWidth(std::string_view utf8) {
  std::u32string out;
  for (const char32_t c : DecodeUtf8(utf8)) {
    if (c == U' ') {
      out += U'\u3000';
    } else if (c > 0x20 && c < 0x7F) {
      out += static_cast<char32_t>(c + 0xFEE0);
    } else {
      out += c;
    }
  }
  return EncodeUtf8(out);
}

std::string ShortenedPath(std::string_view path, int columns) {
  std::string p(path);
  if (DialogByteWidth(p) <= columns) return p;
  size_t cut = 0;
  while (cut < p.size() && DialogByteWidth(std::string_view(p).substr(cut)) > columns - 3) {
    ++cut;
    while (cut < p.size() && (static_cast<unsigned char>(p[cut]) & 0xC0) == 0x80) ++cut;
  }
  return "..." + p.substr(cut);
}

size_t CharCount(std::string_view utf8) {
  return DecodeUtf8(utf8).size();
}

}  // namespace kav
