#include "records/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace kav {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

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

TEST_F(AtomicFileTest, WritesLargeContentsWhole) {
  std::string big(3 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  ASSERT_TRUE(WriteFileAtomically(target_, big));
  EXPECT_EQ(ReadBytes(target_), big);
}

}  // namespace
}  // namespace kav
