#include "platform/desktop.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "core/cp932.h"
#include "core/errors.h"

extern char** environ;

namespace kest::platform {

std::optional<std::vector<std::string>> DefaultHandlerCommand(std::string_view cp932_target) {
  if (cp932_target.empty() || cp932_target.front() == '-') return std::nullopt;
  try {
    return std::vector<std::string>{"xdg-open", cp932::ToUtf8(cp932_target)};
  } catch (const KestError&) {
    return std::nullopt;
  }
}

bool SpawnDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  pid_t child = 0;
  if (::posix_spawnp(&child, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) {
    return false;
  }
  // The handler may run for long (some desktops keep xdg-open until the viewer closes), so a
  // thread of its own waits for it; no zombie is left behind and the frame loop never blocks.
  std::thread([child] {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace kest::platform
