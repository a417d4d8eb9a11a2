#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

TEST(SdlAudioTest, PanLowersOnlyTheFarSide) {
  EXPECT_DOUBLE_EQ(GainsOf(0, 0).left, 1.0);
  EXPECT_DOUBLE_EQ(GainsOf(0, 0).right, 1.0);
  const SideGains leftEdge = GainsOf(0, -800);
  EXPECT_DOUBLE_EQ(leftEdge.left, 1.0);
  EXPECT_NEAR(leftEdge.right, 0.398107, 1e-6) << "8 dB down";
  EXPECT_NEAR(GainsOf(0, 800).left, 0.398107, 1e-6);
  EXPECT_NEAR(GainsOf(-250, 800).right, 0.749894, 1e-6) << "AttenuateSoundSlot(1, 50): 2.5 dB down";
  EXPECT_DOUBLE_EQ(GainsOf(250, 0).left, 1.0) << "above the loaded level is held at full";
}

// The engine fades by height a hundredth of a decibel at a time; each step must be heard.
TEST(SdlAudioTest, EveryHundredthOfADecibelReachesTheSamples) {
  int16_t last = 32767;
  for (int32_t volume = -1; volume >= -40; --volume) {
    int16_t frame[2] = {32767, 32767};
    const auto gain = static_cast<float>(GainsOf(volume, 0).left);
    SdlAudio::ApplyGains(frame, 1, 2, gain, gain);
    EXPECT_LT(frame[0], last) << volume;
    last = frame[0];
  }
  int16_t stereo[4] = {10000, -10000, 10000, -10000};
  SdlAudio::ApplyGains(stereo, 2, 2, 1.0F, 0.5F);
  EXPECT_EQ(stereo[0], 10000);
  EXPECT_EQ(stereo[1], -5000);
  EXPECT_EQ(stereo[3], -5000);
  int16_t mono[1] = {10000};
  SdlAudio::ApplyGains(mono, 1, 1, 0.25F, 0.5F);
  EXPECT_EQ(mono[0], 5000) << "a mono stream at the louder side";
}

// A tiny valid clip: 16-bit mono PCM of silence.
void WriteSilence(const std::string& path) {
  const uint32_t samples = 2205;
  const uint32_t bytes = samples * 2;
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out << "RIFF";
  u32(36 + bytes);
  out << "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(22050);
  u32(44100);
  u16(2);
  u16(16);
  out << "data";
  u32(bytes);
  for (uint32_t i = 0; i < samples; ++i) u16(0);
}

TEST(SdlAudioTest, ClipsLoadAndPlayOnTheDummyDeviceAndBadFilesStaySilent) {
  test::ScopedEnv driver("SDL_AUDIODRIVER");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  test::TempDir dir;
  WriteSilence(dir.File("good.wav"));
  std::ofstream(dir.File("bad.wav")) << "not a wave";

  SdlAudio audio;
  ASSERT_TRUE(audio.Open()) << SDL_GetError();
  EXPECT_TRUE(audio.Load(2, dir.File("good.wav")));
  EXPECT_FALSE(audio.Load(3, dir.File("bad.wav")));
  EXPECT_FALSE(audio.Load(4, dir.File("missing.wav")));
  EXPECT_TRUE(audio.Loaded(2));
  EXPECT_FALSE(audio.Loaded(3));
  EXPECT_EQ(audio.Volume(2), 0);
  audio.SetVolume(2, -600);
  EXPECT_EQ(audio.Volume(2), -600);
  audio.Play(2, true);
  audio.SetPan(2, 300);
  audio.Stop(2);
  audio.Play(3, false);  // silent, and no harm done
  audio.Close();
  audio.Close();
  EXPECT_FALSE(audio.Loaded(2));
}

TEST(SdlAudioTest, NoAudioDeviceMeansSilence) {
  test::ScopedEnv driver("SDL_AUDIODRIVER");
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlAudio audio;
  EXPECT_FALSE(audio.Open());
  EXPECT_FALSE(audio.Load(1, "/nonexistent.wav"));
  audio.Play(1, false);
}

}  // namespace
}  // namespace kav
