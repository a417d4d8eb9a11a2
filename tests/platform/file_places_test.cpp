#include "platform/file_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "support/temp_dir.h"

namespace kav {
namespace {

struct World {
  std::set<std::string> withData;
  std::set<std::string> writable;
  std::string pref = "/home/p/.local/share/kavrona";
  int prefAsked = 0;

  FilePlaces Choose(const std::string& program, const std::string& share = "../share/kavrona") {
    return ChooseFilePlaces(
        program, share,
        [this] {
          ++prefAsked;
          return pref;
        },
        [this](const std::string& d) { return withData.count(d) > 0; },
        [this](const std::string& d) { return writable.count(d) > 0; });
  }
};

TEST(FilePlacesTest, ABuildKeepsEverythingBesideTheProgram) {
  World w;
  w.withData = {"/src/build/release/bin/"};
  w.writable = {"/src/build/release/bin/"};
  const FilePlaces p = w.Choose("/src/build/release/bin");
  EXPECT_EQ(p.resourceDir, "/src/build/release/bin/");
  EXPECT_EQ(p.recordDir, "/src/build/release/bin/");
  EXPECT_TRUE(p.recordsWritable);
  EXPECT_EQ(w.prefAsked, 0) << "no data directory is made for a build";
}

TEST(FilePlacesTest, AnInstalledGameReadsItsShareAndWritesThePlayersDataDirectory) {
  World w;
  w.withData = {"/usr/games/../share/kavrona/"};
  w.writable = {"/usr/games/", "/home/p/.local/share/kavrona/"};
  const FilePlaces p = w.Choose("/usr/games/");
  EXPECT_EQ(p.resourceDir, "/usr/games/../share/kavrona/");
  EXPECT_EQ(p.recordDir, "/home/p/.local/share/kavrona/") << "even where the program directory could be written";
  EXPECT_TRUE(p.recordsWritable);
}

TEST(FilePlacesTest, ABuildInAReadOnlyDirectoryFallsBackToTheDataDirectory) {
  World w;
  w.withData = {"/opt/kav/"};
  w.writable = {"/home/p/.local/share/kavrona/"};
  const FilePlaces p = w.Choose("/opt/kav/");
  EXPECT_EQ(p.resourceDir, "/opt/kav/");
  EXPECT_EQ(p.recordDir, "/home/p/.local/share/kavrona/");
  EXPECT_TRUE(p.recordsWritable);
}

TEST(FilePlacesTest, NowhereToWriteIsReported) {
  World w;
  w.withData = {"/usr/games/../share/kavrona/"};
  FilePlaces p = w.Choose("/usr/games/");
  EXPECT_FALSE(p.recordsWritable);
  EXPECT_EQ(p.recordDir, "/home/p/.local/share/kavrona/");
  w.pref.clear();  // no home directory at all
  p = w.Choose("/usr/games/");
  EXPECT_FALSE(p.recordsWritable);
  EXPECT_EQ(p.recordDir, "/usr/games/");
}

TEST(FilePlacesTest, WithoutPicturesAnywhereTheProgramDirectoryIsNamed) {
  World w;
  w.writable = {"/x/"};
  const FilePlaces p = w.Choose("/x");
  EXPECT_EQ(p.resourceDir, "/x/") << "so that the missing-picture message names where they belong";
  EXPECT_EQ(p.recordDir, "/x/");
}

TEST(FilePlacesTest, WritabilityIsTriedAndLeavesNothingBehind) {
  test::TempDir dir;
  EXPECT_TRUE(DirectoryWritable(dir.Path().string()));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_FALSE(DirectoryWritable((dir.Path() / "missing").string()));
  if (::geteuid() != 0) {
    ::chmod(dir.Path().c_str(), 0500);
    EXPECT_FALSE(DirectoryWritable(dir.Path().string()));
    ::chmod(dir.Path().c_str(), 0700);
  }
}

}  // namespace
}  // namespace kav
