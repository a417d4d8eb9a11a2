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
  uint8_t left = 0;
  uint8_t right = 0;
  SdlAudio::PanToSides(0, left, right);
  EXPECT_EQ(left, 255);
  EXPECT_EQ(right, 255);
  SdlAudio::PanToSides(-800, left, right);  // the left edge of the screen
  EXPECT_EQ(left, 255);
  EXPECT_EQ(right, 102) << "8 dB down: 255 * 10^(-800/2000) = 101.5";
  SdlAudio::PanToSides(800, left, right);
  EXPECT_EQ(left, 102);
  EXPECT_EQ(right, 255);
  SdlAudio::PanToSides(-10000, left, right);
  EXPECT_EQ(right, 0);
}

TEST(SdlAudioTest, VolumeInHundredthsOfADecibel) {
  EXPECT_EQ(SdlAudio::MixerVolume(0), 128);
  EXPECT_EQ(SdlAudio::MixerVolume(250), 128) << "above the loaded level is held at full";
  EXPECT_EQ(SdlAudio::MixerVolume(-250), 96) << "AttenuateSoundSlot(1, 50): 2.5 dB down";
  EXPECT_EQ(SdlAudio::MixerVolume(-2000), 13);
  EXPECT_EQ(SdlAudio::MixerVolume(-10000), 0);
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
