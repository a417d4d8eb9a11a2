#pragma once

#include <string>

namespace kav {

// An exclusive advisory lock on a file, held for the life of the object. Used to keep a second
// copy of the game from starting.
class InstanceLock {
 public:
  enum class Result {
    kAcquired,
    kHeldElsewhere,  // another process, or another open of the same file, holds it
    kUnavailable,    // the lock file could not be opened, or is not a file of ours
  };

  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Creates the file when needed and takes the lock without waiting. A lock this object already
  // holds is given up first. A symbolic link at `path`, or a file another user owns, is refused.
  Result TryAcquire(const std::string& path);
  bool Acquire(const std::string& path) { return TryAcquire(path) == Result::kAcquired; }
  void Release();
  bool Held() const { return fd_ >= 0; }

  // $XDG_RUNTIME_DIR/kavrona.lock when that names an existing directory, else
  // /tmp/kavrona-<uid>.lock.
  static std::string DefaultLockPath();

 private:
  int fd_ = -1;
};

}  // namespace kav
