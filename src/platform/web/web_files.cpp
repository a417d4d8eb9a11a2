#include "platform/web/web_files.h"

#include "platform/web/web_js.h"

namespace kav {

bool WebFiles::AcquireSingleInstanceLock() {
  return kav_web_lock_held() != 0;
}

void WebMessages::ShowFatalMessage(const std::string& title, const std::string& text) {
  kav_web_fatal(title.c_str(), text.c_str());
}

}  // namespace kav
