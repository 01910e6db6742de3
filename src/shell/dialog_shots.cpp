#include "shell/dialog_shots.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/png_writer.h"

namespace kest::shell {

void DialogShots::Write(const platform::Image& picture) {
  if (!Enabled()) return;
  char name[32];
  std::snprintf(name, sizeof name, "dialog-%03d.png", written_ + 1);
  // The folder is made on the first picture, as a screenshot folder usually does not exist yet;
  // when it cannot be, writing the picture says why.
  if (written_ == 0) {
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
  }
  std::string path = folder_;
  if (!path.empty() && path.back() != '/') path += '/';
  platform::WritePngFile(path + name, picture.View());
  ++written_;
}

}  // namespace kest::shell
