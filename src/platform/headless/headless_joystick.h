#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/force_shapes.h"
#include "platform/joystick.h"

namespace kav {

// The pad the runner's `pad` commands drive: whether one is plugged in, what it can do, and its
// raw axes and two buttons. The game finds it when it opens its input devices.
struct HeadlessPad {
  enum class Kind { Plain, Rumble, Haptic, HapticNoIdle };
  bool attached = false;
  Kind kind = Kind::Plain;
  int32_t axisX = 0;  // -32768..32767
  int32_t axisY = 0;
  bool button1 = false;
  bool button2 = false;
};

// The game's view of a HeadlessPad. What the pad can do is fixed when it is opened; its readings
// are live and go to zero when it is unplugged. Effects are noted down, and answered with what a
// real pad of the kind would play.
class HeadlessJoystick final : public Joystick {
 public:
  struct EffectCall {
    std::string guid;
    bool start = false;  // false: stopped
    ForceEffectParams params;
  };

  explicit HeadlessJoystick(const HeadlessPad& pad) : pad_(pad) {}

  bool Open() override;
  bool IsOpen() const override { return open_; }
  JoystickState Read() override;
  bool HasForceFeedback() override { return open_ && kind_ != HeadlessPad::Kind::Plain; }
  std::vector<ForceEffectInfo> Effects() override;
  std::vector<int32_t> TriggerButtons() override;
  // Noted in the log (the latest calls); accepted for the effects the pad offers.
  ForcePlay StartEffect(const std::string& guid, const ForceEffectParams& params) override;
  bool StopEffect(const std::string& guid, const ForceEffectParams& params) override;
  void Close() override {
    open_ = false;
    punch_ = PunchTrigger{};
  }

  std::vector<EffectCall> log;

 private:
  bool Offers(const std::string& guid);

  const HeadlessPad& pad_;
  bool open_ = false;
  HeadlessPad::Kind kind_ = HeadlessPad::Kind::Plain;
  PunchTrigger punch_;
};

}  // namespace kav
