#include "recording/recording_file.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/texts.h"

namespace kav::recording {
namespace {

constexpr std::string_view kSignature = "KAVRONA RECORDING\r\n\x1a\n";
// An uncompressed journal above this is not one this game wrote.
constexpr size_t kLargestJournal = 512u << 20;
constexpr size_t kLongestField = 1u << 20;

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

void PutField(std::string& out, std::string_view s) {
  PutU32(out, static_cast<uint32_t>(s.size()));
  out.append(s);
}

uint32_t Crc(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes at most a uInt a call.
  while (!bytes.empty()) {
    const size_t n = std::min<size_t>(bytes.size(), 1u << 30);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(n));
    bytes.remove_prefix(n);
  }
  return static_cast<uint32_t>(crc);
}

std::string Compress(std::string_view raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK) {
    return {};
  }
  out.resize(size);
  return out;
}

// Inflates with a buffer that grows only as data really comes out, so a lying length cannot
// make us allocate.
bool Inflate(std::string_view packed, size_t expected, std::string& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  std::array<char, 16384> chunk{};
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(chunk.data());
    z.avail_out = static_cast<uInt>(chunk.size());
    rc = inflate(&z, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) break;
    out.append(chunk.data(), chunk.size() - z.avail_out);
    if (out.size() > expected) break;
    if (rc == Z_OK && z.avail_in == 0 && z.avail_out != 0) break;
  }
  const bool whole = rc == Z_STREAM_END && z.avail_in == 0 && out.size() == expected;
  inflateEnd(&z);
  return whole;
}

class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
  bool U32(uint32_t& v) {
    if (bytes_.size() - pos_ < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return true;
  }
  bool Field(std::string& s, size_t limit) {
    uint32_t n = 0;
    if (!U32(n) || n > limit || n > bytes_.size() - pos_) return false;
    s.assign(bytes_.substr(pos_, n));
    pos_ += n;
    return true;
  }
  bool Skip(size_t n) {
    if (n > bytes_.size() - pos_) return false;
    pos_ += n;
    return true;
  }
  size_t Pos() const { return pos_; }
  std::string_view Rest() const { return bytes_.substr(pos_); }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace

std::string EncodeRecording(const Recording& r) {
  std::string out(kSignature);
  PutU32(out, r.header.formatVersion);
  PutField(out, r.header.gameVersion);
  PutField(out, r.header.date);
  out.push_back(r.header.recordFile ? '\1' : '\0');
  PutField(out, r.header.recordFile ? std::string_view(*r.header.recordFile) : std::string_view());
  PutField(out, r.header.padKind);
  PutField(out, r.header.language);
  const std::string packed = Compress(r.journal);
  PutU32(out, static_cast<uint32_t>(r.journal.size()));
  PutField(out, packed);
  PutU32(out, Crc(out));
  return out;
}

bool DecodeRecording(std::string_view bytes, Recording& out, std::string& error, bool checkSum) {
  if (bytes.size() < kSignature.size() || bytes.substr(0, kSignature.size()) != kSignature) {
    error = "not a Kavrona recording";
    return false;
  }
  Cursor c(bytes.substr(kSignature.size()));
  const std::string cutShort = "the recording is cut short";
  uint32_t version = 0;
  if (!c.U32(version)) {
    error = cutShort;
    return false;
  }
  if (version > kFormatVersion) {
    error = "the recording was made by a newer game (format " + std::to_string(version) + "; this one reads up to " +
            std::to_string(kFormatVersion) + ")";
    return false;
  }
  if (version == 0) {
    error = "the recording is damaged (format 0)";
    return false;
  }
  Header h;
  h.formatVersion = version;
  std::string recordFile;
  uint32_t journalSize = 0;
  std::string packed;
  // A field longer than the rest of the file reads as a cut; a longer one than any game writes
  // as damage, so both come out the same: the reader cannot tell them apart before the CRC.
  if (!c.Field(h.gameVersion, 64) || !c.Field(h.date, 8)) {
    error = cutShort;
    return false;
  }
  const std::string_view rest = c.Rest();
  if (rest.empty()) {
    error = cutShort;
    return false;
  }
  const char hasRecordFile = rest[0];
  c.Skip(1);
  if (!c.Field(recordFile, kLongestField) || !c.Field(h.padKind, 16) || (version >= 2 && !c.Field(h.language, 8)) ||
      !c.U32(journalSize) || !c.Field(packed, kLargestFile)) {
    error = cutShort;
    return false;
  }
  if (!LanguageNamed(h.language)) {
    error = "the recording is damaged (it names no language of the game)";
    return false;
  }
  const size_t sealed = kSignature.size() + c.Pos();
  uint32_t crc = 0;
  if (!c.U32(crc)) {
    error = cutShort;
    return false;
  }
  if (!c.Rest().empty()) {
    error = "the recording is damaged (bytes after its end)";
    return false;
  }
  if (checkSum && crc != Crc(bytes.substr(0, sealed))) {
    error = "the recording is damaged (its checksum does not match)";
    return false;
  }
  if (hasRecordFile != 0 && hasRecordFile != 1) {
    error = "the recording is damaged (its header)";
    return false;
  }
  if (hasRecordFile == 1) h.recordFile = std::move(recordFile);
  if (journalSize > kLargestJournal) {
    error = "the recording is damaged (a journal of " + std::to_string(journalSize) + " bytes)";
    return false;
  }
  std::string journal;
  if (!Inflate(packed, journalSize, journal)) {
    error = "the recording is damaged (its journal does not unpack)";
    return false;
  }
  out.header = std::move(h);
  out.journal = std::move(journal);
  return true;
}

bool ReadRecordingFile(const std::string& path, Recording& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string bytes;
  std::array<char, 65536> chunk{};
  while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
    bytes.append(chunk.data(), static_cast<size_t>(in.gcount()));
    if (bytes.size() > kLargestFile) {
      error = path + " is too large for a recording";
      return false;
    }
  }
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  return DecodeRecording(bytes, out, error);
}

}  // namespace kav::recording
