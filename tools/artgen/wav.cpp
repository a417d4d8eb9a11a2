#include "wav.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/wave_io.h"

namespace kav::artgen {
namespace {

uint32_t Get16(const std::vector<uint8_t>& in, size_t at) {
  return in[at] | (in[at + 1] << 8);
}

uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
  return Get16(in, at) | (Get16(in, at + 2) << 16);
}

bool TagAt(const std::vector<uint8_t>& in, size_t at, const char (&tag)[5]) {
  return at + 4 <= in.size() && std::equal(tag, tag + 4, in.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const Clip& clip) {
  // The game reads what it writes: one canonical encoder for both.
  WaveClip wave;
  wave.channels = clip.channels;
  wave.sampleRate = clip.sampleRate;
  wave.bitsPerSample = 16;
  wave.samples.reserve(clip.samples.size() * 2);
  for (const int16_t v : clip.samples) {
    const auto u = static_cast<uint16_t>(v);
    wave.samples.push_back(static_cast<uint8_t>(u & 0xFF));
    wave.samples.push_back(static_cast<uint8_t>(u >> 8));
  }
  return EncodeWave(wave);
}

std::optional<Clip> DecodeWav(const std::vector<uint8_t>& in) {
  if (!TagAt(in, 0, "RIFF") || !TagAt(in, 8, "WAVE")) return std::nullopt;
  const uint64_t riffEnd = 8 + static_cast<uint64_t>(Get32(in, 4));
  if (riffEnd > in.size()) return std::nullopt;
  std::optional<Clip> clip;
  bool haveFormat = false;
  for (size_t at = 12; at + 8 <= riffEnd;) {
    const uint32_t size = Get32(in, at + 4);
    const size_t body = at + 8;
    if (body + static_cast<uint64_t>(size) > riffEnd) return std::nullopt;
    if (TagAt(in, at, "fmt ")) {
      if (size < 16) return std::nullopt;
      const uint32_t tag = Get16(in, body);
      const uint32_t channels = Get16(in, body + 2);
      const uint32_t rate = Get32(in, body + 4);
      const uint32_t byteRate = Get32(in, body + 8);
      const uint32_t align = Get16(in, body + 12);
      const uint32_t bits = Get16(in, body + 14);
      if (tag != 1 || bits != 16 || channels == 0 || rate == 0 || align != channels * 2 || byteRate != rate * align) {
        return std::nullopt;
      }
      clip.emplace();
      clip->channels = static_cast<int>(channels);
      clip->sampleRate = static_cast<int>(rate);
      haveFormat = true;
    } else if (TagAt(in, at, "data")) {
      if (!haveFormat || size % (clip->channels * 2) != 0) return std::nullopt;
      clip->samples.resize(size / 2);
      for (size_t i = 0; i < clip->samples.size(); ++i) {
        clip->samples[i] = static_cast<int16_t>(static_cast<uint16_t>(Get16(in, body + 2 * i)));
      }
      return clip;
    }
    at = body + size + (size & 1);  // chunks are padded to an even length
  }
  return std::nullopt;
}

std::optional<Clip> ReadWav(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return DecodeWav(bytes);
}

bool WriteWav(const std::filesystem::path& path, const Clip& clip) {
  const std::vector<uint8_t> bytes = EncodeWav(clip);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

}  // namespace kav::artgen
