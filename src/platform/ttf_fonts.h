#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/fonts.h"

namespace kav {

// What OpenFonts tells the player when no installed face can show Japanese.
inline constexpr const char* kNoJapaneseFont =
    "Kavrona needs a Japanese font. Install one with: sudo apt-get install fonts-ipafont-mincho "
    "fonts-ipafont-gothic";

struct FontFile {
  std::string family;
  std::string path;
  int index = 0;  // the face within a collection
};

// The installed file fontconfig picks for the face, as the configuration reads now; only a face
// that has kana and kanji counts. Nothing when there is none.
std::optional<FontFile> FindJapaneseFont(FontFace face);

// Fonts from the installed files, rasterised by SDL_ttf; needs no video, so the headless
// platform draws real text too. Null when no Japanese face could be opened; `error` then says
// why and what to install, and is empty on success.
std::unique_ptr<Fonts> OpenFonts(std::string& error);

}  // namespace kav
