#pragma once

#include <functional>

#include "platform/clock.h"

namespace kav {

// Real time from the page's clock; a sleep hands the thread back to the browser (Asyncify), so
// the page keeps painting and hearing input while the game waits.
class WebClock final : public Clock {
 public:
  WebClock();
  int32_t Ticks() override;
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override;
  double SecondsSinceMidnight() override;
  // Runs before every sleep; true when it wants to run again within 10 ms (a pad's pulses).
  void SetIdleTask(std::function<bool()> task) { idleTask_ = std::move(task); }

 private:
  double start_;
  std::function<bool()> idleTask_;
};

}  // namespace kav
