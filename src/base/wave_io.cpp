#include "base/wave_io.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace kav {
namespace {

// A file with more chunks than this before its sound is no clip anyone made.
constexpr int kMaxChunks = 1024;

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The tail of KSDATAFORMAT_SUBTYPE_PCM after its first two bytes (the format tag, 1).
constexpr uint8_t kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint32_t Get16(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8);
}

uint32_t Get32(const uint8_t* p) {
  return Get16(p) | (Get16(p + 2) << 16);
}

bool IsTag(const uint8_t* p, const char (&tag)[5]) {
  return std::memcmp(p, tag, 4) == 0;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
  // Byte by byte: GCC 12 takes a range insert into the reserved vector for an overflow.
  for (size_t i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// Fills the clip's format from a "fmt " chunk body; false when it is not one we play.
bool ReadFormat(const uint8_t* body, uint32_t size, WaveClip& clip) {
  if (size < 16) return false;
  uint32_t tag = Get16(body);
  const uint32_t channels = Get16(body + 2);
  const uint32_t rate = Get32(body + 4);
  const uint32_t align = Get16(body + 12);
  const uint32_t bits = Get16(body + 14);
  if (tag == kFormatExtensible) {
    // cbSize, valid bits, channel mask, then the sub-format GUID.
    if (size < 40 || Get16(body + 16) < 22) return false;
    const uint32_t validBits = Get16(body + 18);
    if (validBits != 0 && validBits != bits) return false;
    if (std::memcmp(body + 26, kPcmGuidTail, sizeof kPcmGuidTail) != 0) return false;
    tag = Get16(body + 24);
  }
  if (tag != kFormatPcm) return false;
  if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) return false;
  if (rate < static_cast<uint32_t>(kMinWaveRate) || rate > static_cast<uint32_t>(kMaxWaveRate)) return false;
  // The byte rate is only a hint that writers often get wrong; the block size is what we cut by.
  if (align != channels * bits / 8) return false;
  clip.channels = static_cast<int>(channels);
  clip.sampleRate = static_cast<int>(rate);
  clip.bitsPerSample = static_cast<int>(bits);
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};

}  // namespace

std::optional<WaveClip> ReadWave(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 12 || !IsTag(data, "RIFF") || !IsTag(data + 8, "WAVE")) return std::nullopt;
  WaveClip clip;
  bool haveFormat = false;
  size_t at = 12;
  // Streaming writers often leave the RIFF size wrong, so the walk goes by the file's own end.
  for (int chunk = 0; chunk < kMaxChunks && size - at >= 8; ++chunk) {
    const uint8_t* head = data + at;
    const uint32_t chunkSize = Get32(head + 4);
    const size_t body = at + 8;
    const size_t present = size - body;
    if (IsTag(head, "data")) {
      if (!haveFormat) return std::nullopt;
      size_t bytes = chunkSize;
      if (bytes > present) {
        bytes = present;
        clip.truncated = true;
      }
      bytes -= bytes % static_cast<size_t>(clip.FrameBytes());
      if (bytes == 0) return std::nullopt;
      clip.samples.assign(data + body, data + body + bytes);
      return clip;
    }
    if (chunkSize > present) return std::nullopt;  // cut short before any sound
    if (IsTag(head, "fmt ")) {
      if (haveFormat || !ReadFormat(data + body, chunkSize, clip)) return std::nullopt;
      haveFormat = true;
    }
    // Chunks are padded to an even length; the pad of the last one may be missing.
    const size_t next = body + chunkSize + (chunkSize & 1);
    if (next >= size) break;
    at = next;
  }
  return std::nullopt;
}

std::optional<WaveClip> ReadWaveFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return std::nullopt;
  const long size = std::ftell(file.get());
  if (size < 12 || static_cast<unsigned long>(size) > kMaxWaveFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) {
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
  return ReadWave(bytes.data(), bytes.size());
}

std::vector<uint8_t> EncodeWave(const WaveClip& clip) {
  const auto dataBytes = static_cast<uint32_t>(clip.samples.size());
  const auto channels = static_cast<uint32_t>(clip.channels);
  const auto rate = static_cast<uint32_t>(clip.sampleRate);
  const auto align = static_cast<uint32_t>(clip.FrameBytes());
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes + 1);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes + (dataBytes & 1));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, kFormatPcm);
  Put16(out, channels);
  Put32(out, rate);
  Put32(out, rate * align);
  Put16(out, align);
  Put16(out, static_cast<uint32_t>(clip.bitsPerSample));
  PutTag(out, "data");
  Put32(out, dataBytes);
  out.insert(out.end(), clip.samples.begin(), clip.samples.end());
  if (dataBytes & 1) out.push_back(0);
  return out;
}

}  // namespace kav
