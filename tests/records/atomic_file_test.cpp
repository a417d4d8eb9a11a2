#include "records/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace kav {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return static_cast<mode_t>(-1);
  return info.st_mode & 07777;
}

// Sets the process umask for one test.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
  ~ScopedUmask() { umask(old_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t old_;
};

class AtomicFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string target_ = dir_.File("Kavrona.ini");
};

TEST_F(AtomicFileTest, CreatesAndReplacesTheFileLeavingNoTemporary) {
  ASSERT_TRUE(WriteFileAtomically(target_, std::string("first\r\n\0x", 9)));
  EXPECT_EQ(ReadBytes(target_), std::string("first\r\n\0x", 9));
  ASSERT_TRUE(WriteFileAtomically(target_, "second"));
  EXPECT_EQ(ReadBytes(target_), "second");
  ASSERT_TRUE(WriteFileAtomically(target_, ""));
  EXPECT_TRUE(fs::exists(target_));
  EXPECT_EQ(ReadBytes(target_), "");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target_)));
  EXPECT_EQ(fs::path(TemporaryPathFor(target_)).parent_path(), fs::path(target_).parent_path());
}

TEST_F(AtomicFileTest, InterruptedSaveKeepsTheOldFileAndTheNextSaveRecovers) {
  ASSERT_TRUE(WriteFileAtomically(target_, "old contents"));
  AtomicWriteHooks crash;
  crash.crashAfterBytes = 4;
  EXPECT_FALSE(WriteFileAtomically(target_, "new contents", &crash));
  EXPECT_EQ(ReadBytes(target_), "old contents");
  // Like a real crash, the half-written temporary stays behind.
  EXPECT_EQ(ReadBytes(TemporaryPathFor(target_)), "new ");

  ASSERT_TRUE(WriteFileAtomically(target_, "newer"));
  EXPECT_EQ(ReadBytes(target_), "newer");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target_)));
}

TEST_F(AtomicFileTest, InterruptionBeforeAnyByteOnAFirstSaveCreatesNoTarget) {
  AtomicWriteHooks crash;
  crash.crashAfterBytes = 0;
  EXPECT_FALSE(WriteFileAtomically(target_, "data", &crash));
  EXPECT_FALSE(fs::exists(target_));
}

TEST_F(AtomicFileTest, FailureOfAnyStepBeforeTheRenameLeavesOldFileAndNoTemporary) {
  for (const AtomicWriteStep step : {AtomicWriteStep::Open, AtomicWriteStep::Write, AtomicWriteStep::Flush,
                                     AtomicWriteStep::Sync, AtomicWriteStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(step));
    ASSERT_TRUE(WriteFileAtomically(target_, "old"));
    AtomicWriteHooks hooks;
    hooks.failStep = step;
    EXPECT_FALSE(WriteFileAtomically(target_, "new", &hooks));
    EXPECT_EQ(ReadBytes(target_), "old");
    EXPECT_FALSE(fs::exists(TemporaryPathFor(target_)));
  }
}

TEST_F(AtomicFileTest, FailedDirectorySyncReportsFailureWithTheNewFileInPlace) {
  ASSERT_TRUE(WriteFileAtomically(target_, "old"));
  AtomicWriteHooks hooks;
  hooks.failStep = AtomicWriteStep::SyncDirectory;
  EXPECT_FALSE(WriteFileAtomically(target_, "new", &hooks));
  EXPECT_EQ(ReadBytes(target_), "new");
}

TEST_F(AtomicFileTest, MissingDirectoryOrEmptyPathFails) {
  const std::string inMissing = dir_.File("no_such_dir/Kavrona.ini");
  EXPECT_FALSE(WriteFileAtomically(inMissing, "data"));
  EXPECT_FALSE(fs::exists(dir_.Path() / "no_such_dir"));
  EXPECT_FALSE(WriteFileAtomically("", "data"));
}

TEST_F(AtomicFileTest, TargetThatIsADirectoryIsLeftAloneAndTheTemporaryRemoved) {
  fs::create_directory(target_);
  EXPECT_FALSE(WriteFileAtomically(target_, "data"));
  EXPECT_TRUE(fs::is_directory(target_));
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target_)));
}

TEST_F(AtomicFileTest, StaleTemporarySymlinkIsNotFollowed) {
  const std::string victim = dir_.File("victim");
  WriteBytes(victim, "keep me");
  fs::create_symlink(victim, TemporaryPathFor(target_));
  ASSERT_TRUE(WriteFileAtomically(target_, "data"));
  EXPECT_EQ(ReadBytes(victim), "keep me");
  EXPECT_EQ(ReadBytes(target_), "data");
}

TEST_F(AtomicFileTest, ReplacementKeepsThePermissionBits) {
  for (const mode_t mode : {0640, 0600, 0604, 0666, 0755}) {
    SCOPED_TRACE(mode);
    WriteBytes(target_, "old");
    ASSERT_EQ(chmod(target_.c_str(), mode), 0);
    ASSERT_TRUE(WriteFileAtomically(target_, "new"));
    EXPECT_EQ(ReadBytes(target_), "new");
    EXPECT_EQ(ModeOf(target_), mode);
  }
}

TEST_F(AtomicFileTest, NewFileGetsTheUsualModeLessTheUmask) {
  const ScopedUmask mask(027);
  ASSERT_TRUE(WriteFileAtomically(target_, "data"));
  EXPECT_EQ(ModeOf(target_), 0640u);
}

TEST_F(AtomicFileTest, ReadOnlyFileIsLeftUntouched) {
  // Ours, so the owner-write bit decides whether or not we run as root.
  WriteBytes(target_, "keep");
  ASSERT_EQ(chmod(target_.c_str(), 0444), 0);
  EXPECT_FALSE(WriteFileAtomically(target_, "lost"));
  EXPECT_EQ(ReadBytes(target_), "keep");
  EXPECT_EQ(ModeOf(target_), 0444u);
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target_)));
}

TEST_F(AtomicFileTest, FileOfAnotherUserKeepsItsOwnerOrIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  WriteBytes(target_, "theirs");
  ASSERT_EQ(chown(target_.c_str(), 12345, 12345), 0);
  ASSERT_EQ(chmod(target_.c_str(), 0644), 0);
  ASSERT_TRUE(WriteFileAtomically(target_, "new"));
  struct stat info {};
  ASSERT_EQ(stat(target_.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 12345u);
  EXPECT_EQ(info.st_gid, 12345u);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  // Nobody may write it: even root leaves it alone.
  ASSERT_EQ(chmod(target_.c_str(), 0444), 0);
  EXPECT_FALSE(WriteFileAtomically(target_, "lost"));
  EXPECT_EQ(ReadBytes(target_), "new");
}

TEST_F(AtomicFileTest, TargetThatIsNotARegularFileIsLeftAlone) {
  ASSERT_EQ(mkfifo(target_.c_str(), 0600), 0);
  EXPECT_FALSE(WriteFileAtomically(target_, "data"));
  EXPECT_TRUE(fs::is_fifo(target_));
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target_)));
}

TEST_F(AtomicFileTest, SymbolicLinksAreWrittenThroughAndKept) {
  fs::create_directory(dir_.Path() / "elsewhere");
  const std::string real = dir_.File("elsewhere/real.ini");
  WriteBytes(real, "old");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  fs::create_symlink("elsewhere/real.ini", target_);  // relative, as people make them

  ASSERT_TRUE(WriteFileAtomically(target_, "new"));
  EXPECT_TRUE(fs::is_symlink(target_));
  EXPECT_EQ(fs::read_symlink(target_), "elsewhere/real.ini");
  EXPECT_EQ(ReadBytes(real), "new");
  EXPECT_EQ(ModeOf(real), 0640u);
  EXPECT_FALSE(fs::exists(fs::symlink_status(TemporaryPathFor(target_))));
  EXPECT_FALSE(fs::exists(TemporaryPathFor(real)));

  // A chain of links, the last one absolute.
  const std::string middle = dir_.File("middle.ini");
  fs::create_symlink(real, middle);
  fs::remove(target_);
  fs::create_symlink("middle.ini", target_);
  ASSERT_TRUE(WriteFileAtomically(target_, "newer"));
  EXPECT_TRUE(fs::is_symlink(target_));
  EXPECT_TRUE(fs::is_symlink(middle));
  EXPECT_EQ(ReadBytes(real), "newer");
}

TEST_F(AtomicFileTest, TemporaryFileGoesBesideTheFileTheLinkNames) {
  fs::create_directory(dir_.Path() / "elsewhere");
  const std::string real = dir_.File("elsewhere/real.ini");
  WriteBytes(real, "old");
  fs::create_symlink(real, target_);
  AtomicWriteHooks crash;
  crash.crashAfterBytes = 2;
  EXPECT_FALSE(WriteFileAtomically(target_, "new", &crash));
  EXPECT_EQ(ReadBytes(TemporaryPathFor(real)), "ne");
  EXPECT_FALSE(fs::exists(fs::symlink_status(TemporaryPathFor(target_))));
}

TEST_F(AtomicFileTest, DanglingLinkCreatesItsTarget) {
  fs::create_directory(dir_.Path() / "elsewhere");
  const std::string real = dir_.File("elsewhere/new.ini");
  fs::create_symlink(real, target_);
  ASSERT_TRUE(WriteFileAtomically(target_, "first"));
  EXPECT_TRUE(fs::is_symlink(target_));
  EXPECT_EQ(ReadBytes(real), "first");

  // Into a directory that does not exist, nothing is made.
  fs::remove(target_);
  fs::create_symlink(dir_.File("missing/new.ini"), target_);
  EXPECT_FALSE(WriteFileAtomically(target_, "data"));
  EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
  EXPECT_TRUE(fs::is_symlink(target_));
}

TEST_F(AtomicFileTest, LinkLoopFailsAndLeavesTheLinks) {
  const std::string other = dir_.File("other.ini");
  fs::create_symlink("other.ini", target_);
  fs::create_symlink("Kavrona.ini", other);
  EXPECT_FALSE(WriteFileAtomically(target_, "data"));
  EXPECT_TRUE(fs::is_symlink(target_));
  EXPECT_TRUE(fs::is_symlink(other));
  EXPECT_FALSE(fs::exists(fs::symlink_status(TemporaryPathFor(target_))));
  EXPECT_FALSE(fs::exists(fs::symlink_status(TemporaryPathFor(other))));
}

TEST_F(AtomicFileTest, WritesLargeContentsWhole) {
  std::string big(3 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  ASSERT_TRUE(WriteFileAtomically(target_, big));
  EXPECT_EQ(ReadBytes(target_), big);
}

}  // namespace
}  // namespace kav
