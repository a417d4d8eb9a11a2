#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kav {

InstanceLock::~InstanceLock() {
  Release();
}

InstanceLock::Result InstanceLock::TryAcquire(const std::string& path) {
  Release();
  // Close-on-exec so that a program the game starts cannot keep the lock alive after we exit.
  // The fallback path lies in world-writable /tmp, where anyone can plant a link to a file of
  // ours, or a file of their own whose lock they hold to keep us from starting: follow no link
  // and take only a regular file we own.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    return Result::kUnavailable;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
    close(fd);
    return Result::kUnavailable;
  }
  int rc;
  do {
    rc = flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int error = errno;
    close(fd);
    return error == EWOULDBLOCK ? Result::kHeldElsewhere : Result::kUnavailable;
  }
  fd_ = fd;
  return Result::kAcquired;
}

void InstanceLock::Release() {
  if (fd_ >= 0) {
    // Closing the only descriptor of this open file drops the lock.
    close(fd_);
    fd_ = -1;
  }
}

std::string InstanceLock::DefaultLockPath() {
  const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
  struct stat info {};
  if (runtimeDir != nullptr && runtimeDir[0] != '\0' && stat(runtimeDir, &info) == 0 && S_ISDIR(info.st_mode)) {
    std::string dir = runtimeDir;
    if (dir.back() != '/') {
      dir += '/';
    }
    return dir + "kavrona.lock";
  }
  return "/tmp/kavrona-" + std::to_string(getuid()) + ".lock";
}

}  // namespace kav
