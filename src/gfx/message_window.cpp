#include "gfx/message_window.h"

#include <cstddef>
#include <string_view>

#include "base/boolean.h"
#include "base/utf8.h"

namespace kav {
namespace {

constexpr char32_t kIdeographicSpace = U'\u3000';
// What a character beyond the end of its line reads as: it has no glyph.
constexpr char32_t kNoCharacter = 0;

constexpr int kGlyphWidth = 24;
constexpr int kGlyphHeight = 28;
constexpr int kSkipPauseMs = 10;

constexpr int LineTop(size_t j) {
  return j == 0 ? 24 : 52 + kGlyphHeight * static_cast<int>(j);
}

// The platform's half-width to full-width mapping, one character at a time, so that a voiced
// or semi-voiced mark stays a glyph of its own.
char32_t Widen(char32_t ch) {
  static constexpr std::u32string_view kKatakana =
      U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラ"
      U"リルレロワン゛゜";
  static_assert(kKatakana.size() == 0xFF9F - 0xFF61 + 1);
  if (ch == U' ') return kIdeographicSpace;
  if (ch >= 0x21 && ch <= 0x7E) return ch - 0x21 + 0xFF01;
  if (ch >= 0xFF61 && ch <= 0xFF9F) return kKatakana[ch - 0xFF61];
  return ch;
}

struct GlyphCell {
  bool found = false;
  int x = 0;
  int y = 0;  // within band 0
};

GlyphCell FindGlyph(const std::array<std::u32string, 5>& rows, char32_t w) {
  for (size_t r = 0; r < rows.size(); ++r) {
    const size_t p = rows[r].find(w);
    if (p != std::u32string::npos) {
      return {true, kGlyphWidth * static_cast<int>(p), kGlyphHeight * static_cast<int>(r)};
    }
  }
  return {};
}

bool IsMarkup(char32_t ch) {
  return ch == U'$' || ch == U'&' || ch == U'/';
}

// The tick stopped and back at its start.
void Hush(MessageHost& host) {
  if (host.stopTick) host.stopTick();
}

}  // namespace

const char* const kPromptLine = "      $ﾎﾞﾀﾝｦ ｵｼﾃｸﾚ";

MessageLineFit FitMessageLine(const std::array<std::string, 5>& glyphRows, std::string_view line) {
  std::array<std::u32string, 5> rows;
  for (size_t r = 0; r < rows.size(); ++r) rows[r] = DecodeUtf8(glyphRows[r]);
  MessageLineFit fit;
  for (const char32_t ch : DecodeUtf8(line)) {
    if (IsMarkup(ch)) continue;
    ++fit.columns;
    const char32_t w = Widen(ch);
    if (fit.missing == 0 && !FindGlyph(rows, w).found) fit.missing = ch;
  }
  return fit;
}

void TypeMessage(MessageHost& host, std::array<std::string, 11>& lines, int16_t prompt, int32_t& delay) {
  Platform& platform = host.platform;
  Screen& screen = host.screen;
  Control& window = screen[Pic::Picture4];
  if (!window.Picture.Empty()) {
    Blit(window.Image, 0, 0, window.Width(), window.Height(), window.Picture, 0, 0);
  } else {
    window.Clear();
  }
  window.Visible = true;
  screen.Refresh();

  // Counted before the events run: a handler may put other text into the lines, which is then
  // typed to the old lengths.
  std::array<size_t, 11> lengths{};
  for (size_t j = 0; j < lines.size(); ++j) lengths[j] = DecodeUtf8(lines[j]).size();
  screen.DoEvents();
  if (prompt != kFalse) {
    lines[10] = host.texts(kPromptLine);
    lengths[10] = DecodeUtf8(lines[10]).size();
  }
  host.trace.Emit("message", [&](TraceEvent& e) {
    TraceValue::Array texts;
    for (const std::string& line : lines) texts.emplace_back(line);
    e.Add("lines", std::move(texts)).Add("delay", delay);
  });

  std::array<std::u32string, 5> rows;
  for (size_t r = 0; r < rows.size(); ++r) rows[r] = DecodeUtf8(host.gfx.GlyphRows[r]);
  const Surface& sheet = screen[Pic::Picture3].Image;

  int band = 0;
  for (size_t j = 0; j < lines.size(); ++j) {
    const std::u32string line = DecodeUtf8(lines[j]);
    int column = 1;
    for (size_t k = 0; k < lengths[j]; ++k) {
      const char32_t ch = k < line.size() ? line[k] : kNoCharacter;
      if (IsMarkup(ch)) {
        band = ch == U'$' ? 0 : (ch == U'&' ? 140 : 280);
      } else {
        const char32_t w = Widen(ch);
        // A character in none of the rows draws nothing; it still takes its column and time.
        const GlyphCell cell = FindGlyph(rows, w);
        if (cell.found) {
          Blit(window.Image, kGlyphWidth * column, LineTop(j), kGlyphWidth, kGlyphHeight, sheet, cell.x, band + cell.y);
        }
        if (w != kIdeographicSpace) {
          if (delay != 0) {
            if (host.tick) host.tick();
            screen.Refresh();
          } else {
            Hush(host);
          }
        } else {
          platform.clock.Sleep(delay);
        }
        platform.clock.Sleep(delay);
        ++column;
      }

      const JoystickPoll pad = host.pollJoystick ? host.pollJoystick() : JoystickPoll{};
      const bool space = platform.input.KeyDown(kVkSpace);
      const bool enter = platform.input.KeyDown(kVkReturn);
      if (space || enter || pad.button == 1) {
        delay = 0;
        Hush(host);
        platform.clock.Sleep(kSkipPauseMs);
      }
      if (platform.input.KeyDown(kVkEscape) && host.shutdown) host.shutdown();
      // No events run while typing, but closing the window still ends the game.
      if (platform.input.ClosePending() && host.shutdown) host.shutdown();
      if (platform.input.KeyDown(kVkM)) delay = 0;
    }
  }

  Hush(host);
  screen.Refresh();
  host.trace.Emit("typed");
}

}  // namespace kav
