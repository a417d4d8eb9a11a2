#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "game/game.h"
#include "game/startup.h"
#include "platform/headless/headless_platform.h"

namespace kav {

// A started game for a benchmark: start-up asks for the entry name and, on a first run,
// explains the controls, so every dialog is answered with Return; and it runs in a program
// directory of its own, so that the record file it may write stays out of the build.
class BenchGame {
 public:
  explicit BenchGame(const std::string& name)
      : dir_(std::filesystem::temp_directory_path() / ("kav_bench_" + std::to_string(::getpid()) + "_" + name)) {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "data");
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(KAVRONA_PROGRAM_DIR) / "data")) {
      if (entry.path().extension() == ".png")
        std::filesystem::copy_file(entry.path(), dir_ / "data" / entry.path().filename());
    }
    platform_ = std::make_unique<HeadlessPlatform>(dir_.string());
    game_ = std::make_unique<Game>(*platform_);
    platform_->onSleep = [this, nextAt = int64_t{0}](HeadlessPlatform& p) mutable {
      if (game_->dialog.visible && p.Now() >= nextAt) {
        p.QueueEvent(PlatformEvent::Key(kVkReturn));
        nextAt = p.Now() + 20;
      }
    };
    StartUp(*game_);
    platform_->onSleep = nullptr;
  }
  BenchGame(const BenchGame&) = delete;
  BenchGame& operator=(const BenchGame&) = delete;
  ~BenchGame() {
    game_.reset();
    platform_.reset();
    std::filesystem::remove_all(dir_);
  }

  Game& game() { return *game_; }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<Game> game_;
};

}  // namespace kav
