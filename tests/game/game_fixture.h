#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/game.h"
#include "game/startup.h"
#include "platform/headless/headless_platform.h"

namespace kav::testing {

// A program directory of its own for each test, holding the generated artwork.
class GameFixture : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  std::unique_ptr<HeadlessPlatform> platform;
  std::unique_ptr<Game> game;

  void SetUp() override {
    const char* built = std::getenv("KAVRONA_PROGRAM_DIR");
    ASSERT_NE(built, nullptr) << "run through ctest, which names the built program directory";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() /
          ("kav_game_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "data");
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(built) / "data")) {
      if (entry.path().extension() == ".png")
        std::filesystem::copy_file(entry.path(), dir / "data" / entry.path().filename());
    }
    platform = std::make_unique<HeadlessPlatform>(dir.string());
    game = std::make_unique<Game>(*platform);
  }
  void TearDown() override {
    game.reset();
    std::filesystem::remove_all(dir);
  }

  // Start-up asks for the entry name, and on a first run explains the controls: from now
  // on every dialog the game shows is answered with Return a few passes after it appears.
  void AnswerDialogsWithReturn() {
    auto before = platform->onSleep;
    platform->onSleep = [this, before, nextAt = int64_t{0}](HeadlessPlatform& p) mutable {
      if (game->dialog.visible && p.Now() >= nextAt) {
        p.QueueEvent(PlatformEvent::Key(kVkReturn));
        nextAt = p.Now() + 20;
      }
      if (before) before(p);
    };
  }
  void StartUpPastTheDialogs() {
    AnswerDialogsWithReturn();
    StartUp(*game);
  }

  std::filesystem::path RecordFile() const { return dir / "Kavrona.ini"; }
  std::string ReadRecordFile() const {
    std::ifstream in(RecordFile(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};

}  // namespace kav::testing
