#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "art.h"
#include "wav.h"

namespace kav::artgen {
namespace {

constexpr int kRate = 44100;

const std::vector<Clip>& Made() {
  static const std::vector<Clip> clips = MakeSounds();
  return clips;
}

// One folder per test process: ctest runs the tests of this file side by side, and one must
// never read a file another is still writing.
struct WrittenFiles {
  std::filesystem::path dir =
      std::filesystem::path(testing::TempDir()) / ("kavrona_sounds_" + std::to_string(::getpid()));
  WrittenFiles() {
    std::filesystem::create_directories(dir);
    for (const Clip& c : Made()) EXPECT_TRUE(WriteWav(dir / c.name, c));
  }
  ~WrittenFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

std::filesystem::path WrittenDir() {
  static const WrittenFiles files;
  return files.dir;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// What the game will load: every clip as read back from its file.
const std::vector<Clip>& FromDisk() {
  static const std::vector<Clip> clips = [] {
    std::vector<Clip> out;
    for (const Clip& c : Made()) {
      std::optional<Clip> read = ReadWav(WrittenDir() / c.name);
      out.push_back(read ? *read : Clip{});
      out.back().name = c.name;
      out.back().loops = c.loops;
    }
    return out;
  }();
  return clips;
}

const Clip& Slot(int slot) {
  return FromDisk().at(static_cast<size_t>(slot - 1));
}

double Seconds(const Clip& c) {
  return static_cast<double>(c.samples.size()) / kRate;
}
int At(const Clip& c, size_t i) {
  return c.samples[i];
}

int Peak(const Clip& c) {
  int p = 0;
  for (const int16_t s : c.samples) p = std::max(p, std::abs(static_cast<int>(s)));
  return p;
}

double Db(double ratio) {
  return 20 * std::log10(ratio);
}

// RMS of the loudest 50 ms, against full scale.
double LoudestDb(const Clip& c) {
  const size_t w = kRate / 20;
  double run = 0, best = 0;
  for (size_t i = 0; i < c.samples.size(); ++i) {
    run += double(At(c, i)) * At(c, i);
    if (i >= w) run -= double(At(c, i - w)) * At(c, i - w);
    best = std::max(best, run);
  }
  return Db(std::sqrt(best / w) / 32768);
}

// An energy-weighted frequency: for a sine of f, the sample-to-sample differences have
// 2 sin(pi f / rate) times its RMS.
double MeanHz(const Clip& c, size_t from = 0, size_t to = SIZE_MAX) {
  to = std::min(to, c.samples.size());
  double d2 = 0, x2 = 0;
  for (size_t i = from + 1; i < to; ++i) {
    const double d = At(c, i) - At(c, i - 1);
    d2 += d * d;
    x2 += double(At(c, i)) * At(c, i);
  }
  return kRate / std::numbers::pi * std::asin(std::min(1.0, std::sqrt(d2 / x2) / 2));
}

// Where new notes or hits begin: 5 ms windows whose level jumps 5 dB above the quietest of the
// 20 ms before, at most one every 40 ms.
std::vector<size_t> Onsets(const Clip& c) {
  const size_t w = kRate / 200;
  std::vector<double> level;
  for (size_t i = 0; i + w <= c.samples.size(); i += w) {
    double e = 0;
    for (size_t k = i; k < i + w; ++k) e += double(At(c, k)) * At(c, k);
    level.push_back(std::sqrt(e / w));
  }
  const double floor = Peak(c) * 0.03;
  std::vector<size_t> onsets;
  for (size_t j = 1; j < level.size(); ++j) {
    const double before =
        *std::min_element(level.begin() + static_cast<long>(j < 4 ? 0 : j - 4), level.begin() + static_cast<long>(j));
    if (level[j] > floor && level[j] > 1.78 * before && (onsets.empty() || (j - onsets.back()) * w >= kRate / 25)) {
      onsets.push_back(j);
    }
  }
  for (size_t& o : onsets) o *= w;
  return onsets;
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = v << 8 | b[at + static_cast<size_t>(k)];
  return v;
}

TEST(SoundFiles, AreTwelveMonoPcmWavesNamedBySlot) {
  ASSERT_EQ(Made().size(), 12u);
  for (int slot = 1; slot <= 12; ++slot) {
    const Clip& made = Made()[static_cast<size_t>(slot - 1)];
    SCOPED_TRACE(made.name);
    EXPECT_EQ(made.name, (slot < 10 ? "kavrona_w0" : "kavrona_w") + std::to_string(slot) + ".wav");
    const std::vector<uint8_t> b = FileBytes(WrittenDir() / made.name);
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le(b, 16, 4), 16u);
    EXPECT_EQ(Le(b, 20, 2), 1u);  // PCM
    EXPECT_EQ(Le(b, 22, 2), 1u);  // mono
    EXPECT_EQ(Le(b, 24, 4), 44100u);
    EXPECT_EQ(Le(b, 28, 4), 88200u);
    EXPECT_EQ(Le(b, 32, 2), 2u);
    EXPECT_EQ(Le(b, 34, 2), 16u);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(Le(b, 40, 4), b.size() - 44);
    EXPECT_EQ(Slot(slot).samples, made.samples);
    EXPECT_EQ(Slot(slot).sampleRate, kRate);
  }
}

TEST(WavReader, SkipsOtherChunksAndRefusesWhatIsNotPcm16) {
  const Clip stereo{"x.wav", "", 22050, 2, {0, 1, -2, 3, 32767, -32768}, false};
  std::vector<uint8_t> b = EncodeWav(stereo);
  std::optional<Clip> back = DecodeWav(b);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->samples, stereo.samples);
  EXPECT_EQ(back->channels, 2);
  EXPECT_EQ(back->sampleRate, 22050);

  // An odd-sized LIST chunk before the data, padded to even as RIFF requires.
  std::vector<uint8_t> listed = b;
  const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  listed.insert(listed.begin() + 36, std::begin(list), std::end(list));
  listed[4] = static_cast<uint8_t>(listed.size() - 8);
  back = DecodeWav(listed);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->samples, stereo.samples);

  std::vector<uint8_t> eightBit = b;
  eightBit[34] = 8;
  EXPECT_FALSE(DecodeWav(eightBit));
  std::vector<uint8_t> notWave = b;
  notWave[8] = 'X';
  EXPECT_FALSE(DecodeWav(notWave));
  EXPECT_FALSE(DecodeWav(std::vector<uint8_t>(b.begin(), b.end() - 2)));  // cut short
  EXPECT_FALSE(ReadWav(WrittenDir() / "no_such_file.wav"));
}

TEST(SoundLengths, FitWhatEachSoundIs) {
  struct Range {
    int slot;
    double min, max;
  };
  const Range ranges[] = {{1, 1.0, 4.0}, {2, 1.2, 2.0},  {3, 0.1, 3.0},  {4, 0.1, 3.0},
                          {5, 0.1, 3.0}, {6, 0.3, 1.5},  {7, 0.15, 0.5}, {8, 0.005, 0.04},
                          {9, 0.2, 1.5}, {10, 0.3, 1.0}, {11, 1.5, 3.0}, {12, 0.15, 0.6}};
  for (const Range& r : ranges) {
    SCOPED_TRACE(r.slot);
    EXPECT_GE(Seconds(Slot(r.slot)), r.min);
    EXPECT_LT(Seconds(Slot(r.slot)), r.max);
  }
}

TEST(SoundLevels, PeaksNearFullScaleWithoutClipping) {
  for (const Clip& c : FromDisk()) {
    SCOPED_TRACE(c.name);
    const int peak = Peak(c);
    EXPECT_LT(peak, 32767);  // nothing at full scale
    EXPECT_GT(Db(peak / 32768.0), -3.6);
    EXPECT_LT(Db(peak / 32768.0), -0.8);
  }
}

TEST(SoundLevels, LoudnessMatchedByKind) {
  for (const Clip& c : FromDisk()) {
    SCOPED_TRACE(c.name);
    EXPECT_GT(LoudestDb(c), c.name == "kavrona_w08.wav" ? -30.0 : -17.0);
    EXPECT_LT(LoudestDb(c), c.name == "kavrona_w08.wav" ? -18.0 : -5.0);  // the tick repeats: kept down
  }
  // The two engines play under everything else, so neither may outshout the other.
  EXPECT_NEAR(LoudestDb(Slot(1)), LoudestDb(Slot(11)), 3.0);
  // The blasts are the loudest things in the game; the interface sounds sit below them.
  for (const int ui : {6, 8, 9, 10}) {
    EXPECT_LT(LoudestDb(Slot(ui)), LoudestDb(Slot(2))) << ui;
    EXPECT_LT(LoudestDb(Slot(ui)), LoudestDb(Slot(7))) << ui;
  }
}

TEST(SoundEdges, StartAndEndAtSilenceWithoutAJump) {
  const size_t edge = kRate / 500;  // 2 ms
  for (const Clip& c : FromDisk()) {
    SCOPED_TRACE(c.name);
    const size_t n = c.samples.size();
    ASSERT_GT(n, 2 * edge);
    const double peak = Peak(c);
    EXPECT_LE(std::abs(At(c, 0)), 0.01 * peak);
    EXPECT_LE(std::abs(At(c, n - 1)), 0.01 * peak);
    int jump = 0, early = 0;
    for (size_t i = 1; i < edge; ++i) {
      jump = std::max({jump, std::abs(At(c, i) - At(c, i - 1)), std::abs(At(c, n - i) - At(c, n - i - 1))});
    }
    for (size_t i = 0; i < edge / 4; ++i) early = std::max({early, std::abs(At(c, i)), std::abs(At(c, n - 1 - i))});
    EXPECT_LE(jump, 0.25 * peak);
    EXPECT_LE(early, 0.25 * peak);  // the first and last half millisecond ramp
  }
}

TEST(SoundLoops, RunOnWithoutASeam) {
  for (int slot = 1; slot <= 12; ++slot) EXPECT_EQ(Slot(slot).loops, slot == 1 || slot == 11) << slot;
  for (const int slot : {1, 11}) {
    const Clip& c = Slot(slot);
    SCOPED_TRACE(c.name);
    const size_t n = c.samples.size();
    auto x = [&](long i) { return static_cast<double>(At(c, static_cast<size_t>((i + long(n)) % long(n)))); };
    // The bend across the join is no sharper than the bends around it.
    const long near = kRate / 200;
    double bends = 0;
    for (long i = 2; i < near; ++i) {
      bends += std::pow(x(i) - 2 * x(i - 1) + x(i - 2), 2) + std::pow(x(-i) - 2 * x(-i - 1) + x(-i - 2), 2);
    }
    const double usual = std::sqrt(bends / (2 * (near - 2)));
    EXPECT_LE(std::abs(x(0) - 2 * x(-1) + x(-2)), 4 * usual + 8);
    EXPECT_LE(std::abs(x(1) - 2 * x(0) + x(-1)), 4 * usual + 8);
    EXPECT_LE(std::abs(x(0) - x(-1)), 0.02 * Peak(c));
    // No level step: the last beat is as loud as the first.
    const long beat = slot == 1 ? kRate / 15 : kRate * 2 / 15;
    double first = 0, last = 0;
    for (long i = 0; i < beat; ++i) {
      first += x(i) * x(i);
      last += x(-1 - i) * x(-1 - i);
    }
    EXPECT_NEAR(Db(std::sqrt(first / last)), 0.0, 1.0);
  }
}

TEST(EngineSound, LoopHoldsAWholeNumberOfBladeSlaps) {
  const Clip& c = Slot(1);
  const size_t n = c.samples.size();
  // The slap rhythm: the level, smoothed over 2 ms, around the loop.
  std::vector<double> level(n);
  double run = 0;
  for (size_t i = 0; i < n + 88; ++i) {
    run += (std::abs(At(c, i % n)) - run) / 88;
    level[i % n] = run;
  }
  double mean = 0;
  for (const double v : level) mean += v / static_cast<double>(n);
  size_t bestLag = 0;
  double best = -1e300;
  for (size_t lag = kRate / 18; lag <= kRate / 12; ++lag) {
    double r = 0;
    for (size_t i = 0; i < n; i += 3) r += (level[i] - mean) * (level[(i + lag) % n] - mean);
    if (r > best) best = r, bestLag = lag;
  }
  ASSERT_GT(bestLag, 0u);
  const double beats = static_cast<double>(n) / static_cast<double>(bestLag);
  EXPECT_NEAR(beats, std::round(beats), 0.02 * std::round(beats) / 10);
  // Beside the slaps, the gaps are quiet: a clear pulse, not a steady roar.
  EXPECT_GT(*std::max_element(level.begin(), level.end()), 3 * *std::min_element(level.begin(), level.end()));
}

TEST(SoundCharacter, BrightWhereCrispAndLowWhereHeavy) {
  EXPECT_GT(MeanHz(Slot(8)), 2500);  // tick
  EXPECT_GT(MeanHz(Slot(7)), 1200);  // rifle crack
  for (const int low : {1, 11, 12}) EXPECT_LT(MeanHz(Slot(low)), 500) << low;
  EXPECT_LT(MeanHz(Slot(2)), MeanHz(Slot(7)));  // an explosion is darker than a shot
  // The tick is over in a flash: nearly all its energy comes in its first 12 ms.
  const Clip& tick = Slot(8);
  double early = 0, all = 0;
  for (size_t i = 0; i < tick.samples.size(); ++i) {
    all += double(At(tick, i)) * At(tick, i);
    if (i < kRate * 12 / 1000) early += double(At(tick, i)) * At(tick, i);
  }
  EXPECT_GT(early / all, 0.95);
}

TEST(SoundCharacter, JingleRisesThroughItsNotesAndChimeHasTwo) {
  const std::vector<size_t> notes = Onsets(Slot(6));
  EXPECT_GE(notes.size(), 3u);
  EXPECT_LE(notes.size(), 5u);
  for (size_t k = 1; k < notes.size(); ++k) {
    EXPECT_GT(MeanHz(Slot(6), notes[k], notes[k] + kRate / 25),
              MeanHz(Slot(6), notes[k - 1], notes[k - 1] + kRate / 25))
        << k;
  }
  EXPECT_EQ(Onsets(Slot(10)).size(), 2u);
  EXPECT_EQ(Onsets(Slot(9)).size(), 3u);  // two tones and the squelch
}

TEST(SoundGeneration, SameBytesEveryTimeAndNoTwoAlike) {
  const std::vector<Clip> again = MakeSounds();
  ASSERT_EQ(again.size(), Made().size());
  for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(EncodeWav(again[i]), EncodeWav(Made()[i])) << again[i].name;
  for (size_t i = 0; i < again.size(); ++i) {
    for (size_t j = i + 1; j < again.size(); ++j) EXPECT_NE(again[i].samples, again[j].samples) << i << " " << j;
  }
}

}  // namespace
}  // namespace kav::artgen
