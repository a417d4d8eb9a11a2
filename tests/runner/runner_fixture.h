#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/json.h"
#include "game/game_fixture.h"
#include "runner/driver.h"
#include "runner/headless_devices.h"

namespace kav::testing {

// Runs the runner's driver in this process on a program directory of the test's own.
class RunnerFixture : public GameFixture {
 protected:
  std::vector<TraceValue> events;
  std::string errors;
  // Kept until the next run, so that a test can go on talking to the game through it.
  std::unique_ptr<std::istringstream> in_;
  std::unique_ptr<std::ostringstream> out_;
  std::unique_ptr<runner::Driver> driver_;
  std::unique_ptr<runner::HeadlessDevices> devices_;

  void SetUp() override {
    GameFixture::SetUp();
    devices_ = std::make_unique<runner::HeadlessDevices>(*platform);
    devices_->HandTo(*game, nullptr);
  }
  void TearDown() override {
    driver_.reset();
    GameFixture::TearDown();
    devices_.reset();
  }

  // A new game on a new platform, over the same program directory.
  void Restart() {
    driver_.reset();
    game.reset();
    devices_.reset();
    platform = std::make_unique<HeadlessPlatform>(dir.string());
    game = std::make_unique<Game>(*platform);
    devices_ = std::make_unique<runner::HeadlessDevices>(*platform);
    devices_->HandTo(*game, nullptr);
  }

  // Start-up's dialogs, closed as they appear: the entry name, and on a first run the
  // controls notice. A script that goes on from there starts at StartTime().
  std::string PastEntry() const {
    const std::string one = "until dialog\nclose dialog\n";
    return std::filesystem::exists(RecordFile()) ? one : one + one;
  }

  int Run(const std::string& script) {
    driver_.reset();
    in_ = std::make_unique<std::istringstream>(script);
    out_ = std::make_unique<std::ostringstream>();
    ::testing::internal::CaptureStderr();
    driver_ = std::make_unique<runner::Driver>(*platform, *game, *in_, *out_);
    const int status = driver_->Run();
    errors = ::testing::internal::GetCapturedStderr();
    events.clear();
    std::istringstream lines(out_->str());
    std::string line;
    while (std::getline(lines, line)) {
      std::string_view text = line;
      std::string error;
      std::optional<TraceValue> v = ParseJson(text, error);
      EXPECT_TRUE(v && text.empty()) << "not one JSON object: " << line;
      if (v) events.push_back(std::move(*v));
    }
    return status;
  }

 public:
  static const TraceValue* Field(const TraceValue& event, const std::string& key) {
    for (const auto& [k, v] : event.As<TraceValue::Object>()) {
      if (k == key) return &v;
    }
    return nullptr;
  }
  static std::string Kind(const TraceValue& event) { return Field(event, "ev")->As<std::string>(); }
  static int64_t T(const TraceValue& event) { return Field(event, "t")->As<int64_t>(); }

 protected:
  std::vector<std::string> Kinds() const {
    std::vector<std::string> kinds;
    for (const TraceValue& e : events) kinds.push_back(Kind(e));
    return kinds;
  }
  // The n-th event of a kind (0 = first), or nullptr.
  const TraceValue* Find(const std::string& kind, size_t n = 0) const {
    for (const TraceValue& e : events) {
      if (Kind(e) == kind && n-- == 0) return &e;
    }
    return nullptr;
  }
  // When the commands after PastEntry() began: at the run stop of its last dialog.
  int64_t StartTime() const {
    size_t dialogs = 0;
    for (const TraceValue& e : events) dialogs += Kind(e) == "dialog";
    return T(*Find("ready", dialogs - 1));
  }
  // A variable of the first state event.
  const TraceValue* Var(const std::string& name) const {
    const TraceValue* state = Find("state");
    if (state == nullptr) return nullptr;
    return Field(*Field(*state, "vars"), name);
  }
};

}  // namespace kav::testing
