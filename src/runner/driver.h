#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "base/trace.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "runner/commands.h"
#include "runner/state_codec.h"

namespace kav::runner {

// Exit statuses of the runner besides the game's own.
constexpr int kStatusBadInput = 2;
constexpr int kStatusMismatch = 3;
constexpr int kStatusLimit = 4;
constexpr int kStatusOutOfCommands = 5;
constexpr int64_t kRunLimitMs = 600000;

// Drives the real game by commands and writes what it does as trace lines. The game runs on
// this thread; the commands are read inside its sleeps, where virtual time stands still.
class Driver final : public TraceSink, public SleepHook {
 public:
  Driver(HeadlessPlatform& platform, Game& game, std::istream& commands, std::ostream& trace);
  ~Driver() override;
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Runs the game to its end or until the commands stop it; returns the runner's exit status.
  int Run();

  void Write(const TraceEvent& event) override;
  void Sleeping(HeadlessPlatform& platform, int64_t untilMs) override;

 private:
  struct Goal {
    bool active = false;
    bool byEvents = false;
    int64_t start = 0;
    int64_t target = 0;  // by time
    std::string kind;    // by events
    int64_t wanted = 0;
    int64_t seen = 0;
    int releaseVk = 0;  // tap
  };

  HeadlessPlatform& platform_;
  Game& game_;
  std::istream& commands_;
  std::ostream& trace_;
  std::vector<StateVar> vars_;
  std::map<std::string, size_t> varIndex_;
  Goal goal_;
  int lineNumber_ = 0;
  bool sawCommand_ = false;
  bool closeDialogPending_ = false;

  // Reads and carries out commands until one of them runs the game.
  void RunCommands();
  void Execute(const Command& c);
  void FinishRunCommand();
  [[noreturn]] void Fail(int status, const std::string& reason);
  void PressKey(int vk, bool down);
  void Set(const Command& c);
  void Expect(const Command& c);
  void Shot(const std::string& file);
};

}  // namespace kav::runner
