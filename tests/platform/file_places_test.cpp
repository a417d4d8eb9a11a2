#include "platform/file_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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
  EXPECT_EQ(p.seedDir, "/opt/kav/") << "a record file beside it is where the player starts from";
}

TEST(FilePlacesTest, ARecordFileBesideTheProgramSeedsTheDataDirectoryOnce) {
  test::TempDir program;
  test::TempDir data;
  const std::string original("04/22@60000\\ACE\r\n\x83\x41\r\nOFF\r\n");
  { std::ofstream(program.Path() / kRecordFileName, std::ios::binary) << original; }
  FilePlaces places{.resourceDir = program.Path().string() + "/",
                    .recordDir = data.Path().string() + "/",
                    .seedDir = program.Path().string() + "/"};
  auto read = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  };
  ASSERT_TRUE(SeedRecordFile(places));
  EXPECT_EQ(read(data.Path() / kRecordFileName), original) << "byte for byte";
  { std::ofstream(data.Path() / kRecordFileName, std::ios::binary) << "mine"; }
  EXPECT_FALSE(SeedRecordFile(places)) << "the player's own file is never replaced";
  EXPECT_EQ(read(data.Path() / kRecordFileName), "mine");
  EXPECT_EQ(read(program.Path() / kRecordFileName), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data.Path()), {}), 1) << "no temporary left";
  places.seedDir.clear();
  std::filesystem::remove(data.Path() / kRecordFileName);
  EXPECT_FALSE(SeedRecordFile(places)) << "records kept beside the program need no seed";
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
