#include "game/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/game_exit.h"
#include "base/png_io.h"
#include "game/artwork.h"
#include "game/game_fixture.h"

namespace kav {
namespace {

using StartUpTest = testing::GameFixture;

size_t IndexOf(const std::vector<std::string>& log, const std::string& entry) {
  return static_cast<size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
}

TEST_F(StartUpTest, FirstRunShowsTheBackdropWithDefaults) {
  platform->SetDate(4, 22);
  StartUpPastTheDialogs();
  Game& g = *game;
  EXPECT_TRUE(platform->WindowShown());
  EXPECT_EQ(g.DevicesReady, kTrue);
  EXPECT_EQ(g.PlayerName, "ORVEL");
  EXPECT_EQ(g.SoundSwitch, "ON");
  EXPECT_EQ(g.FullScreenOn, 0);
  EXPECT_EQ(g.StageSelectPlay, kFalse);
  EXPECT_EQ(g.AppDir, dir.string() + "/");
  EXPECT_EQ(g.RecordFilePath, dir.string() + "/Kavrona.ini");
  EXPECT_EQ(g.RecordTimes[0], 60000);
  EXPECT_EQ(g.RecordTimes[23], 80000);
  EXPECT_EQ(g.RecordTimes[26], 350000);
  EXPECT_EQ(g.RecordDates[13], "04/22");
  EXPECT_FALSE(std::filesystem::exists(RecordFile())) << "start-up saves nothing";

  EXPECT_EQ(g.Heli.Width, 48);
  EXPECT_EQ(g.Heli.Height, 23);
  EXPECT_EQ(g.screen[Pic::picP].Image.Pixels(), g.screen[Pic::picBack].Image.Pixels());
  // What the player sees is the backdrop: every sprite waits below the visible area.
  ASSERT_FALSE(platform->LastFrame().empty());
  EXPECT_EQ(platform->LastFrame(), g.screen[Pic::picBack].Image.Pixels());
}

struct StartUpDialogs : TraceSink {
  const Game* game = nullptr;
  std::vector<std::string> captions;
  std::vector<bool> devicesReady;
  std::vector<bool> soundDevice;
  void Write(const TraceEvent& e) override {
    if (e.kind != "dialog") return;
    for (const auto& [k, v] : e.fields) {
      if (k == "caption") captions.push_back(v.As<std::string>());
    }
    devicesReady.push_back(game->DevicesReady == kTrue);
    soundDevice.push_back(game->DirectXRoot);
  }
};

class StartUpDialogsTest : public testing::GameFixture {
 protected:
  StartUpDialogs seen;
  void SetUp() override {
    GameFixture::SetUp();
    seen.game = game.get();
    game->trace = Trace(&seen);
  }
};

TEST_F(StartUpDialogsTest, FirstRunAsksTheNameThenExplainsBeforeTheSoundDevice) {
  StartUpPastTheDialogs();
  EXPECT_EQ(seen.captions, (std::vector<std::string>{"エントリー", "説明"}));
  EXPECT_EQ(seen.devicesReady, (std::vector<bool>{false, false})) << "start-up dialogs leave the joystick alone";
  EXPECT_EQ(seen.soundDevice, (std::vector<bool>{false, false}));
  EXPECT_TRUE(game->DirectXRoot);
  EXPECT_EQ(game->PlayerName, "ORVEL") << "Return takes the offered name";
}

TEST_F(StartUpDialogsTest, WithARecordFileOnlyTheNameIsAskedAndItOffersTheSavedOne) {
  {
    std::ofstream out(RecordFile(), std::ios::binary);
    for (int i = 0; i < 27; ++i) out << "01/02@60000\\ACE\r\n";
    out << "ON\r\nACE\r\n 0 \r\n";
  }
  StartUpPastTheDialogs();
  EXPECT_EQ(seen.captions, (std::vector<std::string>{"エントリー"}));
  EXPECT_EQ(game->PlayerName, "ACE");
}

TEST_F(StartUpDialogsTest, NowhereToKeepRecordsIsSaidOnceBeforeTheName) {
  platform->recordsWritable = false;
  ::testing::internal::CaptureStderr();
  StartUpPastTheDialogs();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(seen.captions, (std::vector<std::string>{"注意", "エントリー", "説明"}));
  EXPECT_NE(said.find("cannot write in " + dir.string()), std::string::npos) << said;
  EXPECT_EQ(platform->iconSize, 64) << "the window has the game's icon";
}

TEST_F(StartUpDialogsTest, AWritableRecordPlaceSaysNothing) {
  ::testing::internal::CaptureStderr();
  StartUpPastTheDialogs();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(seen.captions.front(), "エントリー");
}

TEST_F(StartUpTest, SecondCopyEndsSilentlyBeforeAnyWindow) {
  platform->SetInstanceLockHeld(true);
  try {
    StartUpPastTheDialogs();
    FAIL() << "start-up went on";
  } catch (const GameExit& e) {
    EXPECT_EQ(e.status, 0);
  }
  EXPECT_FALSE(platform->WindowCreated());
  EXPECT_TRUE(platform->DisplayLog().empty());
}

TEST_F(StartUpTest, RecordFileReplacesDefaultsAndRestoresFullScreenBeforeShowing) {
  std::string file;
  for (int i = 0; i < 27; ++i) file += "01/02@" + std::to_string(1000 + i) + "\\ACE\r\n";
  file += "OFF\r\nPILOT\r\n 1 \r\n";
  {
    std::ofstream out(RecordFile(), std::ios::binary);
    out << file;
  }
  StartUpPastTheDialogs();
  EXPECT_EQ(game->PlayerName, "PILOT");
  EXPECT_EQ(game->SoundSwitch, "OFF");
  EXPECT_EQ(game->RecordTimes[5], 1005);
  EXPECT_EQ(game->FullScreenOn, 1);
  // The entry dialog is drawn in the window: the window first shows in full screen, and
  // stays so through start-up.
  const auto& log = platform->DisplayLog();
  ASSERT_LT(IndexOf(log, "fullscreen-on"), log.size());
  EXPECT_LT(IndexOf(log, "fullscreen-on"), IndexOf(log, "show-window"));
  EXPECT_EQ(IndexOf(log, "fullscreen-off"), log.size());
  EXPECT_TRUE(platform->IsFullScreen());
}

TEST_F(StartUpTest, ShortRecordFileKeepsTheDefaultName) {
  std::string file;
  for (int i = 0; i < 20; ++i) file += "01/02@" + std::to_string(1000 + i) + "\\ACE\r\n";
  {
    std::ofstream out(RecordFile(), std::ios::binary);
    out << file;
  }
  StartUpPastTheDialogs();
  EXPECT_EQ(game->PlayerName, "ORVEL");
  EXPECT_EQ(game->RecordTimes[19], 1019);
  EXPECT_EQ(game->RecordTimes[20], 60000 + 10000 * 2) << "lines the file lacks keep their defaults";
}

TEST_F(StartUpTest, ShowingTheClearedTotalsBoxChangesNothingOnScreen) {
  StartUpPastTheDialogs();
  const std::vector<uint32_t> before = platform->LastFrame();
  Control& total = game->screen[Pic::picTotal];
  EXPECT_GT(total.Width(), 0);
  total.Clear();
  total.Visible = true;
  game->screen.Refresh();
  EXPECT_EQ(platform->LastFrame(), before);
}

TEST_F(StartUpTest, MissingPictureEndsStartUpNamingTheFile) {
  std::filesystem::remove(dir / "data" / "heli.png");
  try {
    StartUpPastTheDialogs();
    FAIL() << "start-up went on without its helicopter";
  } catch (const AssetError& e) {
    EXPECT_NE(std::string(e.what()).find("heli.png"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("cmake --build"), std::string::npos);
  }
}

TEST_F(StartUpTest, DamagedOrWronglySizedSheetIsRefused) {
  {
    std::ofstream out(dir / "data" / "backdrop.png", std::ios::binary | std::ios::trunc);
    out << "\x89PNG\r\n\x1a\n garbage";
  }
  EXPECT_THROW(StartUp(*game), AssetError);

  Game second(*platform);
  std::vector<uint32_t> small(10 * 10, 0);
  ASSERT_TRUE(WritePng((dir / "data" / "backdrop.png").string(), 10, 10, small.data()));
  EXPECT_THROW(StartUp(second), AssetError);
}

TEST_F(StartUpTest, MainPlaysUntilEscapeEndsItWithStatusZero) {
  platform->PressKeyAt(kVkEscape, 5000);
  try {
    AnswerDialogsWithReturn();
    Main(*game);
  } catch (const GameExit& e) {
    EXPECT_EQ(e.status, 0);
    EXPECT_GE(platform->Ticks(), 5000);
    EXPECT_LT(platform->Ticks(), 5200);
    return;
  }
  FAIL() << "Main returned";
}

TEST_F(StartUpTest, EscapeEndsTheProgramAndPutsTheDisplayBack) {
  {
    std::string file;
    for (int i = 0; i < 27; ++i) file += "01/02@60000\\ACE\r\n";
    file += "ON\r\nACE\r\n 1 \r\n";
    std::ofstream out(RecordFile(), std::ios::binary);
    out << file;
  }
  platform->PressKeyAt(kVkEscape, 2000);
  AnswerDialogsWithReturn();
  EXPECT_THROW(Main(*game), GameExit);
  EXPECT_FALSE(platform->IsFullScreen());
  EXPECT_EQ(platform->DisplayLog().back(), "fullscreen-off");
}

}  // namespace
}  // namespace kav
