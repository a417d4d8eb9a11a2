#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kav {

// A sound clip as both audio backends take it: integer PCM, 8-bit unsigned or 16-bit signed
// little-endian samples, one or two channels interleaved.
struct WaveClip {
  int channels = 1;
  int sampleRate = 0;
  int bitsPerSample = 16;
  std::vector<uint8_t> samples;  // whole frames only, never empty
  bool truncated = false;        // the data chunk ran past the end of the file and was cut to it

  int FrameBytes() const { return channels * bitsPerSample / 8; }
};

inline constexpr int kMinWaveRate = 1000;
inline constexpr int kMaxWaveRate = 192000;
// No sound effect comes near this; a bigger file is refused unread.
inline constexpr size_t kMaxWaveFileBytes = size_t{64} << 20;

// Reads a RIFF WAVE file: a "fmt " chunk of integer PCM (plain or extensible), 8 or 16 bits, one or
// two channels at kMinWaveRate..kMaxWaveRate, then a "data" chunk. Other chunks are skipped, odd
// sizes padded to even. The RIFF size is not trusted, the file's end is: a data chunk cut short by
// the end of the file keeps the whole frames it has (and says so). Returns nothing for anything
// else, and for a clip with no frame at all.
std::optional<WaveClip> ReadWave(const uint8_t* data, size_t size);
std::optional<WaveClip> ReadWaveFile(const std::string& path);

// The canonical file of a clip: RIFF, a 16-byte plain PCM "fmt " chunk, then "data".
std::vector<uint8_t> EncodeWave(const WaveClip& clip);

}  // namespace kav
