#include "base/wave_io.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/headless/headless_audio.h"
#include "platform/sdl/sdl_audio.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

class WaveBuilder {
 public:
  WaveBuilder() {
    Tag("RIFF");
    Put32(0);  // filled in by Bytes()
    Tag("WAVE");
  }

  WaveBuilder& Chunk(const char* tag, const std::vector<uint8_t>& body, uint32_t claimed = kOwnSize) {
    Tag(tag);
    Put32(claimed == kOwnSize ? static_cast<uint32_t>(body.size()) : claimed);
    bytes_.insert(bytes_.end(), body.begin(), body.end());
    if (body.size() & 1) bytes_.push_back(0);
    return *this;
  }

  WaveBuilder& Format(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t bits) {
    return Chunk("fmt ", FormatBody(tag, channels, rate, bits));
  }

  WaveBuilder& Data(const std::vector<uint8_t>& samples, uint32_t claimed = kOwnSize) {
    return Chunk("data", samples, claimed);
  }

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out = bytes_;
    const auto riff = static_cast<uint32_t>(out.size() - 8);
    for (int k = 0; k < 4; ++k) out[4 + k] = static_cast<uint8_t>(riff >> (8 * k));
    return out;
  }

  static std::vector<uint8_t> FormatBody(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t bits) {
    std::vector<uint8_t> b;
    const uint32_t align = channels * bits / 8;
    const std::pair<uint32_t, int> fields[] = {{tag, 2},          {channels, 2}, {rate, 4},
                                               {rate * align, 4}, {align, 2},    {bits, 2}};
    for (const auto& [v, n] : fields) {
      for (int k = 0; k < n; ++k) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
    }
    return b;
  }

  static constexpr uint32_t kOwnSize = 0xFFFFFFFFu - 1;

 private:
  std::vector<uint8_t> bytes_;

  void Tag(const char* t) { bytes_.insert(bytes_.end(), t, t + 4); }
  void Put32(uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes_.push_back(static_cast<uint8_t>(v >> (8 * k)));
  }
};

std::optional<WaveClip> Read(const std::vector<uint8_t>& bytes) {
  return ReadWave(bytes.data(), bytes.size());
}

std::vector<uint8_t> Ramp(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 3);
  return v;
}

TEST(WaveIo, PcmOfEightAndSixteenBitsMonoAndStereo) {
  struct Case {
    uint32_t channels;
    uint32_t bits;
    uint32_t rate;
  };
  for (const Case c : {Case{1, 8, 8000}, Case{2, 8, 11025}, Case{1, 16, 44100}, Case{2, 16, 22050}}) {
    SCOPED_TRACE(std::to_string(c.channels) + " x " + std::to_string(c.bits) + " bits");
    const std::vector<uint8_t> samples = Ramp(c.channels * c.bits / 8 * 25);
    const auto clip = Read(WaveBuilder().Format(1, c.channels, c.rate, c.bits).Data(samples).Bytes());
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->channels, static_cast<int>(c.channels));
    EXPECT_EQ(clip->bitsPerSample, static_cast<int>(c.bits));
    EXPECT_EQ(clip->sampleRate, static_cast<int>(c.rate));
    EXPECT_EQ(clip->samples, samples);
    EXPECT_FALSE(clip->truncated);

    const std::vector<uint8_t> canonical = EncodeWave(*clip);
    EXPECT_EQ(canonical.size(), 44 + samples.size() + (samples.size() & 1));
    const auto again = Read(canonical);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->samples, samples);
    EXPECT_EQ(again->sampleRate, clip->sampleRate);
  }
}

TEST(WaveIo, OtherChunksAreSkippedWithTheirPaddingAndTheRiffSizeIsNotTrusted) {
  const std::vector<uint8_t> samples = Ramp(9);  // odd: padded after
  WaveBuilder b;
  b.Chunk("LIST", {'I', 'N', 'F', 'O', 'x'}).Format(1, 1, 22050, 8).Chunk("fact", {9, 0, 0, 0}).Data(samples);
  b.Chunk("junk", {1, 2, 3});
  std::vector<uint8_t> bytes = b.Bytes();
  auto clip = Read(bytes);
  ASSERT_TRUE(clip.has_value());
  EXPECT_EQ(clip->samples, samples);

  for (const uint32_t riff : {0u, 4u, 0xFFFFFFFFu}) {
    for (int k = 0; k < 4; ++k) bytes[4 + k] = static_cast<uint8_t>(riff >> (8 * k));
    clip = Read(bytes);
    ASSERT_TRUE(clip.has_value()) << "RIFF size " << riff;
    EXPECT_EQ(clip->samples, samples);
  }

  // The extensible header of a PCM clip, as some editors write it.
  std::vector<uint8_t> extensible = WaveBuilder::FormatBody(0xFFFE, 2, 48000, 16);
  for (const uint8_t v : {22, 0, 16, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}) {
    extensible.push_back(v);
  }
  clip = Read(WaveBuilder().Chunk("fmt ", extensible).Data(Ramp(8)).Bytes());
  ASSERT_TRUE(clip.has_value());
  EXPECT_EQ(clip->channels, 2);
  EXPECT_EQ(clip->sampleRate, 48000);
  extensible[24] = 3;  // the floating-point sub-format
  EXPECT_FALSE(Read(WaveBuilder().Chunk("fmt ", extensible).Data(Ramp(8)).Bytes()).has_value());
}

TEST(WaveIo, ADataChunkCutShortKeepsItsWholeFrames) {
  std::vector<uint8_t> bytes = WaveBuilder().Format(1, 2, 44100, 16).Data(Ramp(40)).Bytes();
  bytes.resize(bytes.size() - 7);  // 33 bytes left: eight whole frames of four
  const auto clip = Read(bytes);
  ASSERT_TRUE(clip.has_value());
  EXPECT_TRUE(clip->truncated);
  const std::vector<uint8_t> ramp = Ramp(32);
  EXPECT_EQ(clip->samples, ramp);

  // A streaming writer's placeholder size: everything to the end of the file.
  const auto open = Read(WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(5), 0xFFFFFFFFu).Bytes());
  ASSERT_TRUE(open.has_value());
  EXPECT_TRUE(open->truncated);
  EXPECT_EQ(open->samples.size(), 6u) << "five samples and the pad byte, all there is";

  bytes.resize(44 + 3);  // less than one frame
  EXPECT_FALSE(Read(bytes).has_value());
  EXPECT_FALSE(Read(WaveBuilder().Format(1, 1, 8000, 8).Data({}).Bytes()).has_value()) << "no sound at all";
}

TEST(WaveIo, FilesThatAreNoPlayableClipAreRefused) {
  const std::vector<uint8_t> s = Ramp(16);
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> refused = {
      {"no fmt chunk", WaveBuilder().Data(s).Bytes()},
      {"fmt after data", WaveBuilder().Data(s).Format(1, 1, 8000, 8).Bytes()},
      {"two fmt chunks", WaveBuilder().Format(1, 1, 8000, 8).Format(1, 2, 8000, 8).Data(s).Bytes()},
      {"no data chunk", WaveBuilder().Format(1, 1, 8000, 8).Chunk("LIST", s).Bytes()},
      {"floating point", WaveBuilder().Format(3, 1, 8000, 16).Data(s).Bytes()},
      {"ADPCM", WaveBuilder().Format(2, 1, 8000, 16).Data(s).Bytes()},
      {"zero channels", WaveBuilder().Format(1, 0, 8000, 16).Data(s).Bytes()},
      {"three channels", WaveBuilder().Format(1, 3, 8000, 8).Data(s).Bytes()},
      {"24 bits", WaveBuilder().Format(1, 1, 8000, 24).Data(s).Bytes()},
      {"4 bits", WaveBuilder().Format(1, 1, 8000, 4).Data(s).Bytes()},
      {"zero rate", WaveBuilder().Format(1, 1, 0, 8).Data(s).Bytes()},
      {"rate too low", WaveBuilder().Format(1, 1, kMinWaveRate - 1, 8).Data(s).Bytes()},
      {"rate too high", WaveBuilder().Format(1, 1, kMaxWaveRate + 1, 8).Data(s).Bytes()},
      {"short fmt", WaveBuilder().Chunk("fmt ", {1, 0, 1, 0, 0x40, 0x1F, 0, 0}).Data(s).Bytes()},
      {"fmt larger than the file",
       WaveBuilder().Chunk("fmt ", WaveBuilder::FormatBody(1, 1, 8000, 8), 0xFFFFFFF0u).Bytes()},
      {"huge chunk before the data", WaveBuilder().Format(1, 1, 8000, 8).Chunk("LIST", s, 0x7FFFFFFFu).Data(s).Bytes()},
      {"huge chunk before the fmt", WaveBuilder().Chunk("LIST", s, 0xFFFFFFFFu).Format(1, 1, 8000, 8).Data(s).Bytes()},
  };
  for (const auto& [why, bytes] : refused) EXPECT_FALSE(Read(bytes).has_value()) << why;

  std::vector<uint8_t> badAlign = WaveBuilder::FormatBody(1, 2, 8000, 16);
  badAlign[12] = 2;  // a block of one 16-bit sample for two channels
  EXPECT_FALSE(Read(WaveBuilder().Chunk("fmt ", badAlign).Data(s).Bytes()).has_value());

  std::vector<uint8_t> good = WaveBuilder().Format(1, 1, 8000, 8).Data(s).Bytes();
  EXPECT_TRUE(Read(good).has_value());
  good[8] = 'A';  // RIFF of another kind
  EXPECT_FALSE(Read(good).has_value());
  EXPECT_FALSE(ReadWave(good.data(), 11).has_value());
  EXPECT_FALSE(ReadWave(nullptr, 0).has_value());
}

TEST(WaveIo, TheChunkWalkIsBounded) {
  // Thousands of empty chunks before the sound: refused after a bounded walk, not read to the end.
  WaveBuilder b;
  b.Format(1, 1, 8000, 8);
  for (int i = 0; i < 5000; ++i) b.Chunk("junk", {});
  b.Data(Ramp(4));
  EXPECT_FALSE(Read(b.Bytes()).has_value());
  WaveBuilder few;
  few.Format(1, 1, 8000, 8);
  for (int i = 0; i < 100; ++i) few.Chunk("junk", {});
  EXPECT_TRUE(Read(few.Data(Ramp(4)).Bytes()).has_value());
}

TEST(WaveIo, BothAudioBackendsLoadAndRefuseTheSameFiles) {
  test::ScopedEnv driver("SDL_AUDIODRIVER");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  test::TempDir dir;
  std::vector<uint8_t> cut = WaveBuilder().Format(1, 1, 22050, 16).Data(Ramp(400)).Bytes();
  cut.resize(cut.size() - 101);
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
      {"mono16.wav", WaveBuilder().Format(1, 1, 44100, 16).Data(Ramp(882)).Bytes()},
      {"stereo8.wav", WaveBuilder().Format(1, 2, 11025, 8).Data(Ramp(300)).Bytes()},
      {"cut.wav", cut},
      {"header_only.wav", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"float.wav", WaveBuilder().Format(3, 1, 44100, 32).Data(Ramp(400)).Bytes()},
      {"no_fmt.wav", WaveBuilder().Data(Ramp(400)).Bytes()},
  };
  for (const auto& [name, bytes] : files) {
    std::ofstream(dir.File(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  SdlAudio sdl;
  ASSERT_TRUE(sdl.Open()) << SDL_GetError();
  HeadlessAudio headless;
  ASSERT_TRUE(headless.Open());
  int slot = 1;
  for (const auto& [name, bytes] : files) {
    const bool playable = ReadWave(bytes.data(), bytes.size()).has_value();
    EXPECT_EQ(sdl.Load(slot, dir.File(name)), playable) << name;
    EXPECT_EQ(headless.Load(slot, dir.File(name)), playable) << name;
    ++slot;
  }
  EXPECT_TRUE(sdl.Loaded(1));
  EXPECT_TRUE(sdl.Loaded(3)) << "a clip cut short still plays what it has";
  EXPECT_FALSE(sdl.Loaded(4));
  EXPECT_FALSE(headless.Loaded(4)) << "a bare RIFF header is no longer enough";
  sdl.Close();
}

TEST(WaveIo, FilesOnDisk) {
  test::TempDir dir;
  const std::vector<uint8_t> bytes = WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(10)).Bytes();
  std::ofstream(dir.File("a.wav"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const auto clip = ReadWaveFile(dir.File("a.wav"));
  ASSERT_TRUE(clip.has_value());
  EXPECT_EQ(clip->samples, Ramp(10));
  EXPECT_FALSE(ReadWaveFile(dir.File("missing.wav")).has_value());
  EXPECT_FALSE(ReadWaveFile(dir.Path().string()).has_value()) << "a directory";
}

}  // namespace
}  // namespace kav
