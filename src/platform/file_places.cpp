#include "platform/file_places.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

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
  // A copy beside a program that cannot be written may still hold the player's records.
  if (beside) places.seedDir = program;
  const std::string pref = prefDir();
  if (!pref.empty() && writable(WithTrailingSlash(pref))) {
    places.recordDir = WithTrailingSlash(pref);
    return places;
  }
  places.seedDir.clear();
  places.recordDir = beside || pref.empty() ? program : WithTrailingSlash(pref);
  places.recordsWritable = false;
  return places;
}

bool SeedRecordFile(const FilePlaces& places) {
  if (places.seedDir.empty() || !places.recordsWritable || places.seedDir == places.recordDir) return false;
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path target = fs::path(places.recordDir) / kRecordFileName;
  const fs::path source = fs::path(places.seedDir) / kRecordFileName;
  if (fs::exists(target, error) || !fs::is_regular_file(source, error)) return false;
  std::ifstream in(source, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof()) return false;
  // Made whole under another name first, so a half-written copy is never taken for the records.
  const fs::path temporary = fs::path(places.recordDir) / (std::string(kRecordFileName) + ".seed");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, target, error);
  if (error) fs::remove(temporary, error);
  return !error;
}

bool DirectoryWritable(const std::string& dir) {
  static std::atomic<unsigned> serial{0};
  const std::string probe =
      WithTrailingSlash(dir) + ".kavrona-write-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace kav
