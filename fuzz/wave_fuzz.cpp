// Reads arbitrary bytes as a sound clip: any bytes give a clip the audio backends can play or
// none, and a clip read survives its canonical file unchanged.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/wave_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<kav::WaveClip> clip = kav::ReadWave(data, size);
  if (!clip) return 0;
  if (clip->channels < 1 || clip->channels > 2) __builtin_trap();
  if (clip->bitsPerSample != 8 && clip->bitsPerSample != 16) __builtin_trap();
  if (clip->sampleRate < kav::kMinWaveRate || clip->sampleRate > kav::kMaxWaveRate) __builtin_trap();
  if (clip->samples.empty() || clip->samples.size() % static_cast<size_t>(clip->FrameBytes()) != 0) __builtin_trap();
  if (clip->samples.size() > size) __builtin_trap();

  const std::vector<uint8_t> canonical = kav::EncodeWave(*clip);
  const std::optional<kav::WaveClip> again = kav::ReadWave(canonical.data(), canonical.size());
  if (!again || again->truncated || again->channels != clip->channels || again->sampleRate != clip->sampleRate ||
      again->bitsPerSample != clip->bitsPerSample || again->samples != clip->samples) {
    __builtin_trap();
  }
  if (kav::EncodeWave(*again) != canonical) __builtin_trap();
  return 0;
}
