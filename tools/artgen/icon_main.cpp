#include <cstdio>
#include <filesystem>
#include <string>

#include "art.h"

// Usage: icongen DIR   writes DIR/hicolor/NxN/apps/kavrona.png for the desktop's icon theme.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s ICON_DIR\n", argv[0]);
    return 2;
  }
  bool ok = true;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const std::string n = std::to_string(size);
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "hicolor" / (n + "x" + n) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    ok = kav::artgen::WritePicture(dir, "kavrona.png", kav::artgen::MakeAppIcon(size)) && ok;
  }
  return ok ? 0 : 1;
}
