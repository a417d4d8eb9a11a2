#pragma once

#include <functional>
#include <string>

namespace kav {

// Where the game's files are: its pictures and sounds, and the directory it keeps its
// record file in. A build runs with everything beside the program; an installed game reads
// from its share directory and writes to the player's data directory.
struct FilePlaces {
  std::string resourceDir;  // holds data/ and the wave files; ends with '/'
  std::string recordDir;    // where Kavrona.ini lives; ends with '/'
  bool recordsWritable = true;
  // A program directory that cannot be written but may hold a record file to start from; empty
  // when the records are kept beside the program.
  std::string seedDir;
};

// The record file's name, in whichever directory it is kept.
inline constexpr const char* kRecordFileName = "Kavrona.ini";

// programDir: the executable's directory; shareFromProgram: the installed share directory
// relative to it; prefDir: the player's data directory ("" when there is none), asked only
// when needed, since asking may make it.
// hasData(dir) tells whether dir holds the pictures, writable(dir) whether a file can be
// made there.
FilePlaces ChooseFilePlaces(const std::string& programDir, const std::string& shareFromProgram,
                            const std::function<std::string()>& prefDir,
                            const std::function<bool(const std::string&)>& hasData,
                            const std::function<bool(const std::string&)>& writable);

// When the player has no record file yet, starts it from the one in places.seedDir, byte for
// byte. The file there is only read. True when a copy was made.
bool SeedRecordFile(const FilePlaces& places);

// True when a new file can be made in dir (tried, not guessed from the permission bits,
// which a read-only file system or an administrator's account would not show).
bool DirectoryWritable(const std::string& dir);

// The directory with one '/' at its end.
std::string WithTrailingSlash(std::string dir);

}  // namespace kav
