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
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
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
