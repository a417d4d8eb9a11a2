#include "records/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace kav {
namespace {

bool Fails(const AtomicWriteHooks* hooks, AtomicWriteStep step) {
  return hooks != nullptr && hooks->failStep == step;
}

// File systems that cannot sync a directory say so with EINVAL; the rename itself stands.
bool SyncDirectoryOf(const std::string& path) {
  std::filesystem::path dir = std::filesystem::path(path).parent_path();
  if (dir.empty()) dir = ".";
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
  close(fd);
  return synced;
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) {
  return path + ".tmp";
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, const AtomicWriteHooks* hooks) {
  if (path.empty()) return false;
  const std::string tempPath = TemporaryPathFor(path);

  // A crashed save may have left its temporary file, or something else may sit under that
  // name (a symlink, say); start from nothing so O_EXCL can refuse to follow anything.
  unlink(tempPath.c_str());
  if (Fails(hooks, AtomicWriteStep::Open)) return false;
  const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(tempPath.c_str());
    return false;
  }

  if (hooks != nullptr && hooks->crashAfterBytes) {
    const std::size_t partial = std::min(*hooks->crashAfterBytes, bytes.size());
    std::fwrite(bytes.data(), 1, partial, file);
    std::fflush(file);
    std::fclose(file);
    return false;
  }

  auto abandon = [&](bool closed) {
    if (!closed) std::fclose(file);
    unlink(tempPath.c_str());
    return false;
  };
  if (Fails(hooks, AtomicWriteStep::Write) || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    return abandon(false);
  }
  if (Fails(hooks, AtomicWriteStep::Flush) || std::fflush(file) != 0) return abandon(false);
  if (Fails(hooks, AtomicWriteStep::Sync) || fsync(fileno(file)) != 0) return abandon(false);
  // A close can still report a delayed write error.
  if (std::fclose(file) != 0) return abandon(true);
  if (Fails(hooks, AtomicWriteStep::Rename) || std::rename(tempPath.c_str(), path.c_str()) != 0) {
    return abandon(true);
  }
  if (Fails(hooks, AtomicWriteStep::SyncDirectory)) return false;
  return SyncDirectoryOf(path);
}

}  // namespace kav
