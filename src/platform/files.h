#pragma once

#include <string>

namespace kav {

// Where the game's files are, and the one-copy lock.
class Files {
 public:
  virtual ~Files() = default;
  // The directory holding the game's pictures (data/) and sounds, ending with '/': the
  // program's own directory in a build, the share directory of an installed game.
  virtual std::string ProgramDir() = 0;
  // Where the record file is kept, ending with '/', and whether a file can be made there.
  virtual std::string RecordDir() = 0;
  virtual bool RecordDirWritable() = 0;
  // True when no other copy of the game holds the lock; the lock lasts for the process.
  virtual bool AcquireSingleInstanceLock() = 0;
};

}  // namespace kav
