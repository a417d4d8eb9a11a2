#pragma once

namespace kav {

// "Let pending window events run once": dispatches queued clicks and closes, presents the
// screen if it changed. The main window's screen implements it.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void DoEvents() = 0;
};

}  // namespace kav
