#include "platform/headless/headless_platform.h"

#include <algorithm>

#include "base/png_io.h"
#include "platform/headless/bounded_log.h"

namespace kav {

HeadlessPlatform::HeadlessPlatform(std::string programDir) : programDir_(std::move(programDir)) {
  if (programDir_.empty() || programDir_.back() != '/') programDir_ += '/';
}

void HeadlessPlatform::HoldKey(int vk, int64_t fromMs, int64_t untilMs) {
  holds_.push_back({vk, fromMs, untilMs});
}

void HeadlessPlatform::SetKey(int vk, bool down) {
  setKeys_[vk] = down;
}

bool HeadlessPlatform::KeySet(int vk) const {
  auto it = setKeys_.find(vk);
  return it != setKeys_.end() && it->second;
}

void HeadlessPlatform::QueueEventAt(int64_t atMs, PlatformEvent event) {
  events_.push_back({atMs, std::move(event)});
  std::stable_sort(events_.begin(), events_.end(), [](const Timed& a, const Timed& b) { return a.at < b.at; });
}

void HeadlessPlatform::Sleep(int32_t ms) {
  const int64_t until = now_ + (ms > 0 ? ms : 0);
  if (sleepHook != nullptr) sleepHook->Sleeping(*this, until);
  AdvanceTo(until);
  if (onSleep) onSleep(*this);
}

bool HeadlessPlatform::ScriptedDown(int vk) const {
  if (auto it = setKeys_.find(vk); it != setKeys_.end() && it->second) return true;
  return std::any_of(holds_.begin(), holds_.end(),
                     [&](const Hold& h) { return h.vk == vk && h.from <= now_ && now_ < h.until; });
}

bool HeadlessPlatform::KeyDown(int vk) {
  const bool down = ScriptedDown(vk);
  auto it = std::find(suppressed_.begin(), suppressed_.end(), vk);
  if (it != suppressed_.end()) {
    if (!down) suppressed_.erase(it);
    return false;
  }
  return down;
}

bool HeadlessPlatform::EventDue() const {
  return !events_.empty() && events_.front().at <= now_;
}

void HeadlessPlatform::WaitForEvent(int32_t timeoutMs) {
  // Virtual time moves in the wait as in a sleep; the runner may queue input during it.
  if (EventDue()) return;
  Sleep(timeoutMs);
}

bool HeadlessPlatform::ClosePending() {
  return std::any_of(events_.begin(), events_.end(), [&](const Timed& t) {
    return t.at <= now_ && t.event.kind == PlatformEvent::Kind::CloseRequested;
  });
}

std::vector<PlatformEvent> HeadlessPlatform::PollEvents() {
  std::vector<PlatformEvent> due;
  auto firstLater = std::find_if(events_.begin(), events_.end(), [&](const Timed& t) { return t.at > now_; });
  for (auto it = events_.begin(); it != firstLater; ++it) {
    if (it->event.kind == PlatformEvent::Kind::FocusLost) {
      for (int vk = 0; vk < 256; ++vk) {
        if (ScriptedDown(vk) && std::find(suppressed_.begin(), suppressed_.end(), vk) == suppressed_.end()) {
          suppressed_.push_back(vk);
        }
      }
    }
    due.push_back(std::move(it->event));
  }
  events_.erase(events_.begin(), firstLater);
  return due;
}

void HeadlessPlatform::CreateMainWindow() {
  windowCreated_ = true;
  AppendBounded(displayLog_, "create-window");
}

void HeadlessPlatform::ShowMainWindow() {
  windowShown_ = true;
  AppendBounded(displayLog_, "show-window");
}

void HeadlessPlatform::Present(const uint32_t* frame) {
  lastFrame_.assign(frame, frame + static_cast<size_t>(kScreenWidth) * kScreenHeight);
  ++presentCount_;
  AppendBounded(displayLog_, "present");
}

void HeadlessPlatform::SetFullScreen(bool on) {
  fullScreen_ = on;
  AppendBounded(displayLog_, on ? "fullscreen-on" : "fullscreen-off");
}

WindowRect HeadlessPlatform::GetWindowRect() {
  return fullScreen_ ? desktop_ : window_;
}

void HeadlessPlatform::SetWindowRect(const WindowRect& rect) {
  if (!fullScreen_) window_ = rect;
  AppendBounded(displayLog_, "window-rect " + std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," +
                                 std::to_string(rect.Width) + "," + std::to_string(rect.Height));
}

void HeadlessPlatform::WarpMouse(int x, int y) {
  AppendBounded(displayLog_, "warp-mouse " + std::to_string(x) + "," + std::to_string(y));
}

void HeadlessPlatform::ShowFatalMessage(const std::string& title, const std::string& text) {
  fatalMessages_.push_back(title + ": " + text);
}

bool HeadlessPlatform::SaveLastFrame(const std::string& pngPath) const {
  if (lastFrame_.empty()) return false;
  return WritePng(pngPath, kScreenWidth, kScreenHeight, lastFrame_.data());
}

}  // namespace kav
