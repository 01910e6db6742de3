#include "shell/dialog_shots.h"

#include <cstdio>

#include "platform/png_writer.h"

namespace kest::shell {

void DialogShots::Write(const platform::Image& picture) {
  if (!Enabled()) return;
  char name[32];
  std::snprintf(name, sizeof name, "dialog-%03d.png", written_ + 1);
  std::string path = folder_;
  if (!path.empty() && path.back() != '/') path += '/';
  platform::WritePngFile(path + name, picture.View());
  ++written_;
}

}  // namespace kest::shell
