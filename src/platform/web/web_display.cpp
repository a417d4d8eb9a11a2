#include "platform/web/web_display.h"

#include "platform/web/web_js.h"

namespace kav {

void WebDisplay::ShowMainWindow() {
  kav_web_init();
}

void WebDisplay::Present(const uint32_t* frame) {
  kav_web_present(frame);
}

void WebDisplay::SetFullScreen(bool on) {
  kav_web_set_fullscreen(on ? 1 : 0);
}

bool WebDisplay::IsFullScreen() {
  return kav_web_is_fullscreen() != 0;
}

WindowRect WebDisplay::GetWindowRect() {
  int32_t r[4] = {};
  kav_web_canvas_rect(r);
  return {r[0], r[1], r[2], r[3]};
}

void WebDisplay::SetWindowRect(const WindowRect& /*rect*/) {}

WindowRect WebDisplay::DesktopRect() {
  int32_t r[4] = {};
  kav_web_desktop_rect(r);
  return {r[0], r[1], r[2], r[3]};
}

void WebDisplay::SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return;
  kav_web_set_icon(pixels.data(), width, height);
}

}  // namespace kav
