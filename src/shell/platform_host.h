#pragma once
// The project's side of the player: its message boxes go to the player's own boxes (drawn in
// the window, or a scripted answer and a log line when headless), its title becomes the
// window's caption, and its close request is noted for the frame loop.

#include <string>

#include "platform/platform.h"
#include "scenario/project_host.h"
#include "shell/message_boxes.h"

namespace kest::shell {

class PlatformHost final : public TProjectHost {
 public:
  PlatformHost(platform::Platform& platform, MessageBoxes& boxes) : platform_(platform), boxes_(boxes) {}

  bool ShowMessage(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) override;
  void SetApplicationTitle(const std::string& title) override;
  void RequestClose() override { close_requested_ = true; }

  bool CloseRequested() const { return close_requested_; }
  // The last box shown, "caption: text" in UTF-8: the one-line report of a failed start-up.
  const std::string& LastMessage() const { return last_message_; }
  const std::string& Title() const { return title_; }

 private:
  platform::Platform& platform_;
  MessageBoxes& boxes_;
  std::string last_message_;
  std::string title_;
  bool close_requested_ = false;
};

}  // namespace kest::shell
