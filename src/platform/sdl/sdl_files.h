#pragma once

#include <optional>
#include <string>

#include "platform/file_places.h"
#include "platform/files.h"
#include "platform/instance_lock.h"

namespace kav {

// The game's directories and the one-copy lock: the program's directory for a build, the share
// directory and the player's data directory for an installed game.
class SdlFiles final : public Files {
 public:
  std::string ProgramDir() override;
  std::string RecordDir() override;
  bool RecordDirWritable() override;
  bool AcquireSingleInstanceLock() override;

 private:
  const FilePlaces& Places();
  static std::string ExecutableDir();

  std::optional<FilePlaces> places_;
  InstanceLock instanceLock_;
};

}  // namespace kav
