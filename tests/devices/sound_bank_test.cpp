#include "devices/sound_bank.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/boolean.h"
#include "platform/headless/headless_audio.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

struct SoundEvents : TraceSink {
  std::vector<std::string> lines;
  void Write(const TraceEvent& e) override {
    std::string line = e.kind;
    for (const auto& [k, v] : e.fields) {
      line += " " + k + "=";
      line += v.Is<std::string>() ? v.As<std::string>() : std::to_string(v.As<int64_t>());
    }
    lines.push_back(line);
  }
};

// The smallest clip the audio backends play: one 8-bit sample at 8000 Hz, mono.
const std::string kSmallestClip = [] {
  std::string wave = "RIFF";
  auto put = [&wave](uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) wave += static_cast<char>(v >> (8 * k));
  };
  put(38, 4);
  wave += "WAVEfmt ";
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // channels
  put(8000, 4);
  put(8000, 4);
  put(1, 2);  // bytes per frame
  put(8, 2);  // bits
  wave += "data";
  put(1, 4);
  wave += '\x80';
  wave += '\0';  // the pad to an even size
  return wave;
}();

class SoundBankTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  DeviceState devices;
  HeadlessAudio audio;
  std::string soundSwitch = "ON";
  SoundEvents events;
  Trace trace{&events};
  SoundBank Bank() { return SoundBank{devices, audio, soundSwitch, trace}; }

  void WriteClips(std::initializer_list<int> slots) {
    for (int slot : slots) {
      char name[32];
      std::snprintf(name, sizeof name, "kavrona_w%02d.wav", slot);
      std::ofstream(dir.Path() / name, std::ios::binary) << kSmallestClip;
    }
  }
};

TEST_F(SoundBankTest, LoadsTwelveSlotsAndAMissingFileLeavesItsSlotSilent) {
  WriteClips({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12});
  CreateSoundBank(Bank(), dir.Path().string() + "/");
  EXPECT_TRUE(devices.SoundDevice);
  EXPECT_FALSE(devices.SoundBuffers[0]);
  EXPECT_TRUE(devices.SoundBuffers[1]);
  EXPECT_FALSE(devices.SoundBuffers[11]);
  EXPECT_TRUE(devices.SoundBuffers[12]);
  PlaySoundSlot(Bank(), 11, kTrue, kFalse);
  EXPECT_FALSE(audio.Playing(11));
  EXPECT_EQ(events.lines.back(), "sound op=play slot=11") << "reported whether or not the slot is loaded";
}

TEST_F(SoundBankTest, NoAudioDeviceLeavesEverythingSilent) {
  WriteClips({1, 2});
  audio.deviceMissing = true;
  CreateSoundBank(Bank(), dir.Path().string() + "/");
  EXPECT_FALSE(devices.SoundDevice);
  EXPECT_FALSE(devices.SoundBuffers[1]);
  PlaySoundSlot(Bank(), 2, kTrue, kFalse);
  EXPECT_TRUE(audio.Log().empty());
}

TEST_F(SoundBankTest, PlayStopPanAndVolumeInTheGamesUnits) {
  WriteClips({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  CreateSoundBank(Bank(), dir.Path().string() + "/");
  PlaySoundSlot(Bank(), 7, kTrue, kFalse);
  PlaySoundSlot(Bank(), 1, kTrue, kTrue);
  PanSoundSlot(Bank(), 7, 400);
  PanSoundSlot(Bank(), 7, 0);
  PanSoundSlot(Bank(), 7, 800);
  AttenuateSoundSlot(Bank(), 1, 50);
  PlaySoundSlot(Bank(), 7, kFalse, kFalse);
  PlaySoundSlot(Bank(), 7, 1, kFalse);  // neither True nor False: nothing
  EXPECT_EQ(audio.Log(), (std::vector<std::string>{"rewind 7", "play 7", "rewind 1", "loop 1", "pan 7 0", "pan 7 -800",
                                                   "pan 7 800", "volume 1 -250", "stop 7", "pan 7 0"}))
      << "stopping re-centres the pan";
  EXPECT_EQ(events.lines[0], "sound op=rewind slot=7");
  EXPECT_EQ(events.lines[7], "sound op=volume slot=1 value=-250");
  EXPECT_EQ(events.lines.size(), 10u);

  AttenuateSoundSlot(Bank(), 1, -40);
  EXPECT_EQ(audio.Volume(1), 0) << "above the loaded level is held at full";
}

TEST_F(SoundBankTest, TheSwitchBlocksEveryOperationAndSlotZeroIsNeverReported) {
  WriteClips({7});
  CreateSoundBank(Bank(), dir.Path().string() + "/");
  PlaySoundSlot(Bank(), 7, kTrue, kFalse);
  soundSwitch = "OFF";
  PlaySoundSlot(Bank(), 7, kFalse, kFalse);
  PanSoundSlot(Bank(), 7, 0);
  AttenuateSoundSlot(Bank(), 7, 10);
  EXPECT_TRUE(audio.Playing(7)) << "turning the switch off does not stop what plays, nor let a stop through";
  EXPECT_EQ(events.lines.size(), 2u);
  soundSwitch = "on";
  PlaySoundSlot(Bank(), 7, kTrue, kFalse);
  EXPECT_EQ(events.lines.size(), 2u) << "the switch compares exactly";

  soundSwitch = "ON";
  PlaySoundSlot(Bank(), 0, kFalse, kFalse);
  PanSoundSlot(Bank(), 0, 0);
  PlaySoundSlot(Bank(), 13, kTrue, kFalse);
  PlaySoundSlot(Bank(), -1, kTrue, kFalse);
  EXPECT_EQ(events.lines.size(), 2u);
}

TEST(AudioGainTest, HundredthsOfADecibel) {
  EXPECT_DOUBLE_EQ(GainOfHundredthsDb(0), 1.0);
  EXPECT_DOUBLE_EQ(GainOfHundredthsDb(300), 1.0);
  EXPECT_NEAR(GainOfHundredthsDb(-2000), 0.1, 1e-12);
  EXPECT_NEAR(GainOfHundredthsDb(-600), 0.501187, 1e-6);
}

}  // namespace
}  // namespace kav
