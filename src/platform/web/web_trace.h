#pragma once

#include <functional>

#include "base/trace.h"

namespace kav {

// The trace pushed onto the page's window.kavronaTrace, each event stamped by the given clock
// (real milliseconds since the start), as the runner writes them.
class WebTrace final : public TraceSink {
 public:
  explicit WebTrace(std::function<int32_t()> clock) : clock_(std::move(clock)) {}
  void Write(const TraceEvent& event) override;

 private:
  std::function<int32_t()> clock_;
};

}  // namespace kav
