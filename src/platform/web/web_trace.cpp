#include "platform/web/web_trace.h"

#include "base/json.h"
#include "platform/web/web_js.h"

namespace kav {

void WebTrace::Write(const TraceEvent& event) {
  kav_web_trace(TraceLine(event, clock_()).c_str());
}

}  // namespace kav
