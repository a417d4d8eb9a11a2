#pragma once

#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/joystick.h"
#include "platform/platform.h"
#include "recording/journal.h"

namespace kav::recording {

// The platform as the game sees it while it is recorded: every call goes to the real side, and
// every answer the game reads from outside goes into the journal, in the order it is read.
class RecordingSides final : public Clock, public Display, public Input, public Files, public Messages {
 public:
  RecordingSides(Platform real, Audio& realAudio, Joystick& realJoystick);

  JournalWriter journal;
  // The first date the game saw ("mm/dd"), and what the pad turned out to be.
  std::string DateSeen() const { return dateSeen_; }
  std::string PadKind() const;

  Audio& audio() { return audio_; }
  Joystick& joystick() { return joystick_; }

  int32_t Ticks() override;
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override;
  double SecondsSinceMidnight() override;

  void CreateMainWindow() override { real_.display.CreateMainWindow(); }
  void ShowMainWindow() override { real_.display.ShowMainWindow(); }
  void Present(const uint32_t* frame) override { real_.display.Present(frame); }
  void SetFullScreen(bool on) override { real_.display.SetFullScreen(on); }
  bool IsFullScreen() override;
  WindowRect GetWindowRect() override;
  void SetWindowRect(const WindowRect& rect) override { real_.display.SetWindowRect(rect); }
  WindowRect DesktopRect() override;
  void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) override {
    real_.display.SetWindowIcon(pixels, width, height);
  }

  std::vector<PlatformEvent> PollEvents() override;
  void WaitForEvent(int32_t timeoutMs) override;
  bool KeyDown(int vk) override;
  bool ClosePending() override;
  void WarpMouse(int x, int y) override { real_.input.WarpMouse(x, y); }
  void SetPointerOver(const PointerShape* shape, const WindowRect& area) override {
    real_.input.SetPointerOver(shape, area);
  }

  std::string ProgramDir() override;
  std::string RecordDir() override;
  bool RecordDirWritable() override;
  bool AcquireSingleInstanceLock() override;

  void ShowFatalMessage(const std::string& title, const std::string& text) override {
    real_.messages.ShowFatalMessage(title, text);
  }

 private:
  class RecordedAudio final : public Audio {
   public:
    RecordedAudio(Audio& real, JournalWriter& journal) : real_(real), journal_(journal) {}
    bool Open() override;
    bool Load(int slot, const std::string& path) override;
    bool Loaded(int slot) const override;
    void Play(int slot, bool loop) override { real_.Play(slot, loop); }
    void Stop(int slot) override { real_.Stop(slot); }
    void Rewind(int slot) override { real_.Rewind(slot); }
    void SetPan(int slot, int32_t pan) override { real_.SetPan(slot, pan); }
    void SetVolume(int slot, int32_t volume) override { real_.SetVolume(slot, volume); }
    int32_t Volume(int slot) const override;
    void Close() override { real_.Close(); }

   private:
    Audio& real_;
    JournalWriter& journal_;
  };

  class RecordedJoystick final : public Joystick {
   public:
    RecordedJoystick(Joystick& real, JournalWriter& journal) : real_(real), journal_(journal) {}
    bool Open() override;
    bool IsOpen() const override;
    JoystickState Read() override;
    bool HasForceFeedback() override;
    std::vector<ForceEffectInfo> Effects() override;
    std::vector<int32_t> TriggerButtons() override;
    ForcePlay StartEffect(const std::string& guid, const ForceEffectParams& params) override;
    bool StopEffect(const std::string& guid, const ForceEffectParams& params) override;
    void Close() override { real_.Close(); }

    bool opened = false;
    bool force = false;

   private:
    Joystick& real_;
    JournalWriter& journal_;
  };

  Platform real_;
  RecordedAudio audio_;
  RecordedJoystick joystick_;
  std::string dateSeen_;
};

}  // namespace kav::recording
