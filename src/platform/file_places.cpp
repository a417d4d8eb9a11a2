#include "platform/file_places.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>

namespace kav {

std::string WithTrailingSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

FilePlaces ChooseFilePlaces(const std::string& programDir, const std::string& shareFromProgram,
                            const std::function<std::string()>& prefDir,
                            const std::function<bool(const std::string&)>& hasData,
                            const std::function<bool(const std::string&)>& writable) {
  FilePlaces places;
  const std::string program = WithTrailingSlash(programDir);
  const std::string share = WithTrailingSlash(program + shareFromProgram);
  const bool beside = hasData(program) || shareFromProgram.empty() || !hasData(share);
  places.resourceDir = beside ? program : share;

  // A build keeps its records beside the program as long as it can write there.
  if (beside && writable(program)) {
    places.recordDir = program;
    return places;
  }
  const std::string pref = prefDir();
  if (!pref.empty() && writable(WithTrailingSlash(pref))) {
    places.recordDir = WithTrailingSlash(pref);
    return places;
  }
  places.recordDir = beside || pref.empty() ? program : WithTrailingSlash(pref);
  places.recordsWritable = false;
  return places;
}

bool DirectoryWritable(const std::string& dir) {
  static std::atomic<unsigned> serial{0};
  const std::string probe = WithTrailingSlash(dir) + ".kavrona-write-test-" + std::to_string(::getpid()) + "-" +
                            std::to_string(serial++);
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace kav
