#include "platform/instance_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

using test::ScopedEnv;
using test::TempDir;

// Whether a separate process can take the lock: the case the game really guards against.
bool ChildCanAcquire(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    InstanceLock lock;
    _exit(lock.Acquire(path) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The descriptor this process has open on the file, found through /proc.
std::optional<int> OpenDescriptorFor(const std::string& path) {
  const std::string wanted = std::filesystem::canonical(path).string();
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(entry.path(), error);
    if (!error && target.string() == wanted) {
      return std::stoi(entry.path().filename().string());
    }
  }
  return std::nullopt;
}

TEST(InstanceLockTest, SecondLockOnTheSamePathFailsUntilTheFirstIsReleased) {
  TempDir dir;
  const std::string path = dir.Path().string() + "/kavrona.lock";
  std::optional<InstanceLock> first(std::in_place);
  ASSERT_TRUE(first->Acquire(path));
  EXPECT_TRUE(first->Held());

  InstanceLock second;
  EXPECT_EQ(second.TryAcquire(path), InstanceLock::Result::kHeldElsewhere);
  EXPECT_FALSE(second.Held());
  EXPECT_FALSE(ChildCanAcquire(path));

  first.reset();
  EXPECT_TRUE(second.Acquire(path));
  EXPECT_FALSE(ChildCanAcquire(path));
  second.Release();
  EXPECT_TRUE(ChildCanAcquire(path));
}

TEST(InstanceLockTest, CreatesTheFileInAFreshDirectory) {
  TempDir dir;
  const std::string path = dir.Path().string() + "/fresh.lock";
  ASSERT_FALSE(std::filesystem::exists(path));
  InstanceLock lock;
  ASSERT_TRUE(lock.Acquire(path));
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
}

TEST(InstanceLockTest, ReacquiringTheSamePathFromOneObjectSucceeds) {
  TempDir dir;
  const std::string path = dir.Path().string() + "/again.lock";
  InstanceLock lock;
  ASSERT_TRUE(lock.Acquire(path));
  EXPECT_TRUE(lock.Acquire(path));
  EXPECT_FALSE(ChildCanAcquire(path));
}

TEST(InstanceLockTest, DescriptorIsClosedOnExec) {
  TempDir dir;
  const std::string path = dir.Path().string() + "/exec.lock";
  InstanceLock lock;
  ASSERT_TRUE(lock.Acquire(path));
  const std::optional<int> fd = OpenDescriptorFor(path);
  ASSERT_TRUE(fd.has_value());
  EXPECT_NE(fcntl(*fd, F_GETFD) & FD_CLOEXEC, 0);
}

TEST(InstanceLockTest, MissingDirectoryIsReportedAsUnavailable) {
  TempDir dir;
  InstanceLock lock;
  EXPECT_EQ(lock.TryAcquire(dir.Path().string() + "/no/such/dir/x.lock"), InstanceLock::Result::kUnavailable);
  EXPECT_FALSE(lock.Held());
}

TEST(InstanceLockTest, SymbolicLinkAtTheLockPathIsNotFollowed) {
  TempDir dir;
  const std::string path = dir.Path().string() + "/kavrona.lock";
  // Dangling: following it would create a file wherever the link points.
  const std::string absent = dir.Path().string() + "/planted";
  std::filesystem::create_symlink(absent, path);
  InstanceLock lock;
  EXPECT_EQ(lock.TryAcquire(path), InstanceLock::Result::kUnavailable);
  EXPECT_FALSE(lock.Held());
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(absent)));

  // To an existing file of ours: still refused.
  const std::string existing = dir.Path().string() + "/mine";
  std::FILE* handle = std::fopen(existing.c_str(), "w");
  ASSERT_NE(handle, nullptr);
  std::fclose(handle);
  std::filesystem::remove(path);
  std::filesystem::create_symlink(existing, path);
  EXPECT_EQ(lock.TryAcquire(path), InstanceLock::Result::kUnavailable);
  EXPECT_FALSE(lock.Held());
  EXPECT_TRUE(std::filesystem::is_symlink(path));
}

TEST(InstanceLockTest, LockFileOfAnotherUserIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  TempDir dir;
  const std::string path = dir.Path().string() + "/kavrona.lock";
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_EQ(chown(path.c_str(), 12345, 12345), 0);
  InstanceLock lock;
  EXPECT_EQ(lock.TryAcquire(path), InstanceLock::Result::kUnavailable);
  EXPECT_FALSE(lock.Held());

  // The same file, once ours, locks as usual.
  ASSERT_EQ(chown(path.c_str(), geteuid(), getegid()), 0);
  EXPECT_EQ(lock.TryAcquire(path), InstanceLock::Result::kAcquired);
}

TEST(InstanceLockTest, LockPathThatIsNotARegularFileIsRefused) {
  TempDir dir;
  const std::string fifo = dir.Path().string() + "/fifo.lock";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  InstanceLock lock;
  EXPECT_EQ(lock.TryAcquire(fifo), InstanceLock::Result::kUnavailable);
  EXPECT_FALSE(lock.Held());
}

TEST(InstanceLockTest, DefaultPathUsesTheRuntimeDirectoryWhenItExists) {
  ScopedEnv restore("XDG_RUNTIME_DIR");
  TempDir dir;
  setenv("XDG_RUNTIME_DIR", dir.Path().string().c_str(), 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), dir.Path().string() + "/kavrona.lock");

  setenv("XDG_RUNTIME_DIR", (dir.Path().string() + "/").c_str(), 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), dir.Path().string() + "/kavrona.lock");
}

TEST(InstanceLockTest, DefaultPathFallsBackToTmpPerUser) {
  ScopedEnv restore("XDG_RUNTIME_DIR");
  const std::string fallback = "/tmp/kavrona-" + std::to_string(getuid()) + ".lock";

  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLock::DefaultLockPath(), fallback);

  setenv("XDG_RUNTIME_DIR", "", 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), fallback);

  TempDir dir;
  setenv("XDG_RUNTIME_DIR", (dir.Path().string() + "/missing").c_str(), 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), fallback);

  const std::string file = dir.Path().string() + "/plain-file";
  std::FILE* handle = std::fopen(file.c_str(), "w");
  ASSERT_NE(handle, nullptr);
  std::fclose(handle);
  setenv("XDG_RUNTIME_DIR", file.c_str(), 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), fallback);
}

}  // namespace
}  // namespace kav
