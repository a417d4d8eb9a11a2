#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

#include "base/trace.h"

namespace kav {

// The trace written to a file as JSON lines, each stamped by the given clock (the real game:
// milliseconds since it started). Every line is flushed, so a reader may follow the file live.
class TraceFile final : public TraceSink {
 public:
  TraceFile(const std::string& path, std::function<int32_t()> clock);
  bool IsOpen() const { return out_.is_open() && out_.good(); }
  void Write(const TraceEvent& event) override;

 private:
  std::ofstream out_;
  std::function<int32_t()> clock_;
};

}  // namespace kav
