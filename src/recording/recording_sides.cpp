#include "recording/recording_sides.h"

#include "records/records.h"

namespace kav::recording {

RecordingSides::RecordingSides(Platform real, Audio& realAudio, Joystick& realJoystick)
    : real_(real), audio_(realAudio, journal), joystick_(realJoystick, journal) {}

std::string RecordingSides::PadKind() const {
  if (!joystick_.opened) return "none";
  return joystick_.force ? "force-feedback" : "plain";
}

int32_t RecordingSides::Ticks() {
  const int32_t t = real_.clock.Ticks();
  journal.Ticks(t);
  return t;
}

void RecordingSides::Sleep(int32_t ms) {
  real_.clock.Sleep(ms);
  journal.Wait(Op::kSleep, ms, real_.clock.Ticks());
}

void RecordingSides::LocalDate(int& month, int& day) {
  real_.clock.LocalDate(month, day);
  journal.LocalDate(month, day);
  if (dateSeen_.empty()) dateSeen_ = FormatMonthDay(month, day);
}

double RecordingSides::SecondsSinceMidnight() {
  const double s = real_.clock.SecondsSinceMidnight();
  journal.Seconds(s);
  return s;
}

bool RecordingSides::IsFullScreen() {
  const bool on = real_.display.IsFullScreen();
  journal.Flag(Op::kIsFullScreen, on);
  return on;
}

WindowRect RecordingSides::GetWindowRect() {
  const WindowRect r = real_.display.GetWindowRect();
  journal.Rect(Op::kWindowRect, r);
  return r;
}

WindowRect RecordingSides::DesktopRect() {
  const WindowRect r = real_.display.DesktopRect();
  journal.Rect(Op::kDesktopRect, r);
  return r;
}

std::vector<PlatformEvent> RecordingSides::PollEvents() {
  std::vector<PlatformEvent> events = real_.input.PollEvents();
  journal.Events(events);
  return events;
}

void RecordingSides::WaitForEvent(int32_t timeoutMs) {
  real_.input.WaitForEvent(timeoutMs);
  journal.Wait(Op::kWaitForEvent, timeoutMs, real_.clock.Ticks());
}

bool RecordingSides::KeyDown(int vk) {
  const bool down = real_.input.KeyDown(vk);
  journal.KeyDown(vk, down);
  return down;
}

bool RecordingSides::ClosePending() {
  const bool pending = real_.input.ClosePending();
  journal.Flag(Op::kClosePending, pending);
  return pending;
}

std::string RecordingSides::ProgramDir() {
  std::string dir = real_.files.ProgramDir();
  journal.Text(Op::kProgramDir, dir);
  return dir;
}

std::string RecordingSides::RecordDir() {
  std::string dir = real_.files.RecordDir();
  journal.Text(Op::kRecordDir, dir);
  return dir;
}

bool RecordingSides::RecordDirWritable() {
  const bool writable = real_.files.RecordDirWritable();
  journal.Flag(Op::kRecordDirWritable, writable);
  return writable;
}

bool RecordingSides::AcquireSingleInstanceLock() {
  const bool held = real_.files.AcquireSingleInstanceLock();
  journal.Flag(Op::kInstanceLock, held);
  return held;
}

bool RecordingSides::RecordedAudio::Open() {
  const bool open = real_.Open();
  journal_.Flag(Op::kAudioOpen, open);
  return open;
}

bool RecordingSides::RecordedAudio::Load(int slot, const std::string& path) {
  const bool loaded = real_.Load(slot, path);
  journal_.SlotFlag(Op::kAudioLoad, slot, loaded);
  return loaded;
}

bool RecordingSides::RecordedAudio::Loaded(int slot) const {
  const bool loaded = real_.Loaded(slot);
  journal_.SlotFlag(Op::kAudioLoaded, slot, loaded);
  return loaded;
}

int32_t RecordingSides::RecordedAudio::Volume(int slot) const {
  const int32_t volume = real_.Volume(slot);
  journal_.Volume(slot, volume);
  return volume;
}

bool RecordingSides::RecordedJoystick::Open() {
  const bool open = real_.Open();
  journal_.Flag(Op::kPadOpen, open);
  opened = opened || open;
  return open;
}

bool RecordingSides::RecordedJoystick::IsOpen() const {
  const bool open = real_.IsOpen();
  journal_.Flag(Op::kPadIsOpen, open);
  return open;
}

JoystickState RecordingSides::RecordedJoystick::Read() {
  JoystickState s = real_.Read();
  journal_.PadRead(s);
  return s;
}

bool RecordingSides::RecordedJoystick::HasForceFeedback() {
  const bool has = real_.HasForceFeedback();
  journal_.Flag(Op::kPadHasForce, has);
  force = force || has;
  return has;
}

std::vector<ForceEffectInfo> RecordingSides::RecordedJoystick::Effects() {
  std::vector<ForceEffectInfo> effects = real_.Effects();
  journal_.PadEffects(effects);
  return effects;
}

std::vector<int32_t> RecordingSides::RecordedJoystick::TriggerButtons() {
  std::vector<int32_t> buttons = real_.TriggerButtons();
  journal_.PadButtons(buttons);
  return buttons;
}

ForcePlay RecordingSides::RecordedJoystick::StartEffect(const std::string& guid, const ForceEffectParams& params) {
  const ForcePlay play = real_.StartEffect(guid, params);
  journal_.PadStart(play);
  return play;
}

bool RecordingSides::RecordedJoystick::StopEffect(const std::string& guid, const ForceEffectParams& params) {
  const bool stopped = real_.StopEffect(guid, params);
  journal_.Flag(Op::kPadStop, stopped);
  return stopped;
}

}  // namespace kav::recording
