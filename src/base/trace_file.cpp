#include "base/trace_file.h"

#include <utility>

#include "base/json.h"

namespace kav {

TraceFile::TraceFile(const std::string& path, std::function<int32_t()> clock)
    : out_(path, std::ios::binary | std::ios::trunc), clock_(std::move(clock)) {}

void TraceFile::Write(const TraceEvent& event) {
  out_ << TraceLine(event, clock_()) << '\n';
  out_.flush();
}

}  // namespace kav
