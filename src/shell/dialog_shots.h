#pragma once
// --dialog-shots DIR: every message box and dialog, as first drawn, is written as the window's
// picture to DIR/dialog-001.png, DIR/dialog-002.png and on.

#include <string>

#include "platform/platform.h"

namespace kest::shell {

class DialogShots {
 public:
  explicit DialogShots(std::string folder) : folder_(std::move(folder)) {}

  bool Enabled() const { return !folder_.empty(); }
  // Writes the next shot; raises PlatformError (naming the file) when it cannot be written.
  void Write(const platform::Image& picture);
  int Written() const { return written_; }

 private:
  std::string folder_;
  int written_ = 0;
};

}  // namespace kest::shell
