#pragma once
// The project's side of the player: its message boxes go to the platform (a window's dialog, or
// a scripted answer and a log line when headless), its title becomes the window's caption, and
// its close request is noted for the frame loop.

#include <string>

#include "platform/platform.h"
#include "scenario/project_host.h"

namespace kest::shell {

class PlatformHost final : public TProjectHost {
 public:
  explicit PlatformHost(platform::Platform& platform) : platform_(platform) {}

  bool ShowMessage(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) override;
  void SetApplicationTitle(const std::string& title) override;
  void RequestClose() override { close_requested_ = true; }

  bool CloseRequested() const { return close_requested_; }
  // The last box shown, "caption: text" in UTF-8: the one-line report of a failed start-up.
  const std::string& LastMessage() const { return last_message_; }
  const std::string& Title() const { return title_; }

 private:
  platform::Platform& platform_;
  std::string last_message_;
  std::string title_;
  bool close_requested_ = false;
};

}  // namespace kest::shell
