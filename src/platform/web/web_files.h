#pragma once

#include "platform/files.h"
#include "platform/messages.h"

namespace kav {

// The pictures and sounds the page fetched into /game/; the record file in /records/, which the
// page keeps in IndexedDB. One copy: the page holds a Web Lock for the game before it starts it.
class WebFiles final : public Files {
 public:
  std::string ProgramDir() override { return "/game/"; }
  std::string RecordDir() override { return "/records/"; }
  bool RecordDirWritable() override { return true; }
  bool AcquireSingleInstanceLock() override;
};

// A fault that ends the game, shown on the page.
class WebMessages final : public Messages {
 public:
  void ShowFatalMessage(const std::string& title, const std::string& text) override;
};

}  // namespace kav
