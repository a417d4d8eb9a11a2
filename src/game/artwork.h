#pragma once

#include <stdexcept>
#include <string>

#include "gfx/screen.h"

namespace kav {

// A picture the game cannot start without is missing or unreadable.
class AssetError : public std::runtime_error {
 public:
  AssetError(std::string path, const std::string& what) : std::runtime_error(what), path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Loads every picture of the main window from programDir + "data/"; throws AssetError.
void LoadArtwork(Screen& screen, const std::string& programDir);

// Gives the window the game's icon from programDir + "data/"; without a usable one the
// window keeps the desktop's default.
void LoadWindowIcon(Display& display, const std::string& programDir);

}  // namespace kav
