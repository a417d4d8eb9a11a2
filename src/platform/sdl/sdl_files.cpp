#include "platform/sdl/sdl_files.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kav {

const FilePlaces& SdlFiles::Places() {
  if (!places_) {
    places_ = ChooseFilePlaces(
        ExecutableDir(), KAVRONA_SHARE_FROM_PROGRAM,
        [] {
          std::string dir;
          // No organisation: the directory is $XDG_DATA_HOME/kavrona/ (SDL makes it).
          if (char* pref = SDL_GetPrefPath("", "kavrona"); pref != nullptr) {
            dir = pref;
            SDL_free(pref);
          }
          return dir;
        },
        [](const std::string& dir) {
          std::error_code error;
          return std::filesystem::is_directory(dir + "data", error);
        },
        DirectoryWritable);
    SeedRecordFile(*places_);
  }
  return *places_;
}

std::string SdlFiles::ProgramDir() {
  return Places().resourceDir;
}
std::string SdlFiles::RecordDir() {
  return Places().recordDir;
}
bool SdlFiles::RecordDirWritable() {
  return Places().recordsWritable;
}

std::string SdlFiles::ExecutableDir() {
  if (char* base = SDL_GetBasePath(); base != nullptr) {
    std::string dir = base;
    SDL_free(base);
    if (!dir.empty()) {
      return WithTrailingSlash(dir);
    }
  }
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && exe.has_parent_path()) {
    return WithTrailingSlash(exe.parent_path().string());
  }
  return "./";
}

bool SdlFiles::AcquireSingleInstanceLock() {
  if (instanceLock_.Held()) {
    return true;
  }
  const std::string path = InstanceLock::DefaultLockPath();
  switch (instanceLock_.TryAcquire(path)) {
    case InstanceLock::Result::kAcquired:
      return true;
    case InstanceLock::Result::kHeldElsewhere:
      return false;
    case InstanceLock::Result::kUnavailable:
      break;
  }
  // Refusing to start because a lock file cannot be made would be worse than two copies.
  std::fprintf(stderr, "Kavrona: cannot open %s; not checking for another running copy\n", path.c_str());
  return true;
}

}  // namespace kav
