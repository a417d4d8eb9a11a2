#include "records/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
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

// Follows a chain of symbolic links to the file they finally name, which need not exist yet (a
// dangling link names the file to create). Renaming onto the link itself would replace it with a
// plain file. nullopt for a loop or a link that cannot be read.
std::optional<std::string> ResolveLinks(const std::string& path) {
  constexpr int kMaxLinks = 40;  // what the kernel allows in one lookup
  std::filesystem::path current = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0) {
      if (errno == ENOENT) return current.string();
      return std::nullopt;
    }
    if (!S_ISLNK(info.st_mode)) return current.string();
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(current, error);
    if (error || target.empty()) return std::nullopt;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return std::nullopt;
}

// root passes every permission check, so a record file the player made read-only would be
// overwritten; the mode bits say what was meant.
bool MayReplace(const std::string& path, const struct stat& info) {
  const uid_t self = geteuid();
  if (info.st_uid == self) return (info.st_mode & S_IWUSR) != 0;
  if (self == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) {
  return path + ".tmp";
}

bool WriteFileAtomically(const std::string& requestedPath, std::string_view bytes, const AtomicWriteHooks* hooks) {
  if (requestedPath.empty()) return false;
  const std::optional<std::string> resolved = ResolveLinks(requestedPath);
  if (!resolved) return false;
  const std::string& path = *resolved;
  const std::string tempPath = TemporaryPathFor(path);

  struct stat existing {};
  const bool replacing = stat(path.c_str(), &existing) == 0;
  if (replacing && (!S_ISREG(existing.st_mode) || !MayReplace(path, existing))) return false;

  // A crashed save may have left its temporary file, or something else may sit under that
  // name (a symlink, say); start from nothing so O_EXCL can refuse to follow anything.
  unlink(tempPath.c_str());
  if (Fails(hooks, AtomicWriteStep::Open)) return false;
  // When replacing, start private and take the old file's mode below, so the new contents are
  // never readable by more people than the old ones were.
  const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
  if (fd < 0) return false;
  if (replacing) {
    // Only root can give a file away; a member of the file's group can at least keep the group.
    // Group bits meant for another group must not pass to ours. A failed chmod (a file system
    // without modes) leaves the private mode and does not fail the save.
    mode_t mode = existing.st_mode & 0777;
    if ((existing.st_uid != geteuid() || existing.st_gid != getegid()) &&
        fchown(fd, existing.st_uid, existing.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
      mode &= ~static_cast<mode_t>(S_IRWXG);
    }
    fchmod(fd, mode);
  }
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
