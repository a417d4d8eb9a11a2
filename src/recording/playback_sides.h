#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/ticks.h"
#include "platform/audio.h"
#include "platform/joystick.h"
#include "platform/platform.h"
#include "recording/journal.h"

namespace kav::recording {

// Thrown from inside the game when it asks for something the recording does not hold there;
// main() catches it, says where, and ends with status 6.
struct Desync {
  std::string message;
};

// Thrown when the journal's cut is reached or the watcher closes the window: the playback is
// over, in step.
struct PlaybackOver {
  bool closedByWatcher = false;
};

// Keeps a watched playback at the recording's pace; a headless one has none and runs at once.
class Pacer {
 public:
  virtual ~Pacer() = default;
  // The game has read a tick count `elapsedMs` after the recording's first one.
  virtual void Reached(int64_t elapsedMs) = 0;
  // The game sleeps or waits: show the frame, look at the watcher's own window.
  virtual void Idle() = 0;
};

// The platform as the game sees it in a playback: every answer comes from the journal, in
// order; what the game shows, sounds and says goes to `out`. The player's own input is never
// read (the pacer looks only for the window's close).
class PlaybackSides final : public Clock, public Display, public Input, public Files, public Messages {
 public:
  // journal: the validated entries' bytes; recordDir: where the copy of the record file lives.
  PlaybackSides(std::string_view journal, Platform out, Audio& outAudio, std::string recordDir);

  // Where the game is, for messages ("frame 120, stage 2").
  std::function<std::string()> where;
  Pacer* pacer = nullptr;

  Audio& audio() { return audio_; }
  Joystick& joystick() { return joystick_; }

  // A state check the game has reached: it must be the recording's next entry, equal.
  void Check(CheckPoint point, int32_t stage, uint64_t hash);
  // The game has ended through its shutdown: the recording must end there too, with the same
  // status.
  void Ended(int status);
  // Entries played so far.
  int64_t EntriesPlayed() const { return reader_.Count(); }
  // Milliseconds of the recording's clock from its first tick count to its latest.
  int32_t Elapsed() const { return TickDiff(lastTicks_, firstTicks_); }

  int32_t Ticks() override;
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override;
  double SecondsSinceMidnight() override;

  void CreateMainWindow() override { out_.display.CreateMainWindow(); }
  void ShowMainWindow() override { out_.display.ShowMainWindow(); }
  void Present(const uint32_t* frame) override { out_.display.Present(frame); }
  void SetFullScreen(bool on) override { out_.display.SetFullScreen(on); }
  bool IsFullScreen() override { return Take(Op::kIsFullScreen).flag; }
  WindowRect GetWindowRect() override { return Take(Op::kWindowRect).rect; }
  void SetWindowRect(const WindowRect& rect) override { out_.display.SetWindowRect(rect); }
  WindowRect DesktopRect() override { return Take(Op::kDesktopRect).rect; }
  void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) override {
    out_.display.SetWindowIcon(pixels, width, height);
  }

  std::vector<PlatformEvent> PollEvents() override;
  void WaitForEvent(int32_t timeoutMs) override;
  bool KeyDown(int vk) override { return Take(Op::kKeyDown, vk).flag; }
  bool ClosePending() override { return Take(Op::kClosePending).flag; }
  void WarpMouse(int x, int y) override { out_.input.WarpMouse(x, y); }
  void SetPointerOver(const PointerShape* shape, const WindowRect& area) override {
    out_.input.SetPointerOver(shape, area);
  }

  std::string ProgramDir() override;
  std::string RecordDir() override;
  bool RecordDirWritable() override { return Take(Op::kRecordDirWritable).flag; }
  bool AcquireSingleInstanceLock() override { return Take(Op::kInstanceLock).flag; }

  void ShowFatalMessage(const std::string& title, const std::string& text) override {
    out_.messages.ShowFatalMessage(title, text);
  }

 private:
  // The next entry, which must be `op` (for `number`, when it asks about one: a key, a slot).
  const Entry& Take(Op op, std::optional<int64_t> number = std::nullopt);
  [[noreturn]] void Depart(const std::string& what) const;
  // The recording's clock has reached `ticks` (a tick count read, a sleep's end).
  void Reach(int32_t ticks);

  class PlayedAudio final : public Audio {
   public:
    PlayedAudio(PlaybackSides& sides, Audio& out) : sides_(sides), out_(out) {}
    bool Open() override;
    bool Load(int slot, const std::string& path) override;
    bool Loaded(int slot) const override { return sides_.Take(Op::kAudioLoaded, slot).flag; }
    void Play(int slot, bool loop) override { out_.Play(slot, loop); }
    void Stop(int slot) override { out_.Stop(slot); }
    void Rewind(int slot) override { out_.Rewind(slot); }
    void SetPan(int slot, int32_t pan) override { out_.SetPan(slot, pan); }
    void SetVolume(int slot, int32_t volume) override { out_.SetVolume(slot, volume); }
    int32_t Volume(int slot) const override { return sides_.Take(Op::kAudioVolume, slot).value; }
    void Close() override { out_.Close(); }

   private:
    PlaybackSides& sides_;
    Audio& out_;
  };

  // The recorded pad; the watcher's own pad is never opened.
  class PlayedJoystick final : public Joystick {
   public:
    explicit PlayedJoystick(PlaybackSides& sides) : sides_(sides) {}
    bool Open() override { return sides_.Take(Op::kPadOpen).flag; }
    bool IsOpen() const override { return sides_.Take(Op::kPadIsOpen).flag; }
    JoystickState Read() override { return sides_.Take(Op::kPadRead).pad; }
    bool HasForceFeedback() override { return sides_.Take(Op::kPadHasForce).flag; }
    std::vector<ForceEffectInfo> Effects() override { return sides_.Take(Op::kPadEffects).effects; }
    std::vector<int32_t> TriggerButtons() override { return sides_.Take(Op::kPadTriggerButtons).buttons; }
    ForcePlay StartEffect(const std::string&, const ForceEffectParams&) override {
      return sides_.Take(Op::kPadStart).play;
    }
    bool StopEffect(const std::string&, const ForceEffectParams&) override { return sides_.Take(Op::kPadStop).flag; }
    void Close() override {}

   private:
    PlaybackSides& sides_;
  };

  JournalReader reader_;
  Entry entry_;
  Platform out_;
  std::string recordDir_;
  PlayedAudio audio_;
  PlayedJoystick joystick_;
  bool sawTicks_ = false;
  int32_t firstTicks_ = 0;
  int32_t lastTicks_ = 0;
};

}  // namespace kav::recording
