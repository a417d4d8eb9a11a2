#pragma once

#include <cstdint>

namespace kav {

// Time: the tick counter, sleeps, and the local calendar.
class Clock {
 public:
  virtual ~Clock() = default;
  // Signed 32-bit milliseconds, wrapping like the system tick counter.
  virtual int32_t Ticks() = 0;
  virtual void Sleep(int32_t ms) = 0;
  // The local calendar date and the seconds since local midnight.
  virtual void LocalDate(int& month, int& day) = 0;
  virtual double SecondsSinceMidnight() = 0;
};

}  // namespace kav
