#include "recording/session_recorder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_places.h"
#include "records/atomic_file.h"

namespace kav::recording {
namespace {

// The game reads no more of its record file than this; the header keeps as much.
constexpr size_t kRecordFileKept = 1u << 20;

std::optional<std::string> ReadRecordFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(kRecordFileKept, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

}  // namespace

// Asked of the real side, so that the journal holds only what the game itself reads.
SessionRecorder::SessionRecorder(Platform real, Audio& realAudio, Joystick& realJoystick)
    : SessionRecorder(real, realAudio, realJoystick, real.files.RecordDir(), real.files.RecordDirWritable()) {}

SessionRecorder::SessionRecorder(Platform real, Audio& realAudio, Joystick& realJoystick, const std::string& recordDir,
                                 bool recordDirWritable)
    : sides_(real, realAudio, realJoystick),
      recordFileAtStart_(ReadRecordFile(WithTrailingSlash(recordDir) + kRecordFileName)),
      recordDir_(WithTrailingSlash(recordDir)),
      recordDirWritable_(recordDirWritable) {}

void SessionRecorder::Attach(Game& g, TraceSink* also) {
  tee_.Add(also);
  checks_ = std::make_unique<StageChecks>(
      g, [this](CheckPoint point, int32_t stage, uint64_t hash) { sides_.journal.Check(point, stage, hash); });
  bestRuns_ = std::make_unique<BestRuns>(g, [this](const std::vector<std::string>& names) { KeepBest(names); });
  tee_.Add(checks_.get());
  tee_.Add(bestRuns_.get());
  g.trace = Trace(&tee_);
}

Header SessionRecorder::MakeHeader() const {
  Header h;
  h.gameVersion = KAVRONA_VERSION;
  h.date = sides_.DateSeen();
  h.recordFile = recordFileAtStart_;
  h.padKind = sides_.PadKind();
  h.language = LanguageCode(language_);
  return h;
}

Recording SessionRecorder::Snapshot() const {
  Recording r{MakeHeader(), sides_.journal.Bytes()};
  JournalWriter cut;
  cut.Cut();
  r.journal += cut.Bytes();
  return r;
}

void SessionRecorder::KeepBest(const std::vector<std::string>& fileNames) {
  if (!recordDirWritable_) return;
  const std::string dir = recordDir_ + kReplaysDir;
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  const std::string bytes = EncodeRecording(Snapshot());
  for (const std::string& name : fileNames) {
    if (!WriteFileAtomically(dir + "/" + name, bytes)) {
      std::fprintf(stderr, "Kavrona: cannot keep the best run in %s/%s\n", dir.c_str(), name.c_str());
    }
  }
}

bool SessionRecorder::Finish(int status, const std::string& path, std::string& error) {
  if (bestRuns_) bestRuns_->Flush();
  sides_.journal.Number(Op::kEnd, status);
  if (path.empty()) return true;
  if (!WriteFileAtomically(path, EncodeRecording(Recording{MakeHeader(), sides_.journal.Bytes()}))) {
    error = "cannot write the recording to " + path;
    return false;
  }
  return true;
}

}  // namespace kav::recording
