#include <cstdio>

#include "art.h"
#include "base/png_io.h"

namespace kav::artgen {

bool WritePicture(const std::filesystem::path& dir, const char* name, const Surface& picture) {
  const std::string path = (dir / name).string();
  if (picture.Empty() || !WritePng(path, picture.Width(), picture.Height(), picture.Pixels().data())) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace kav::artgen
