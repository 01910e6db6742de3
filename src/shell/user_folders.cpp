#include "shell/user_folders.h"

#include <cstdlib>

namespace kest::shell {

std::optional<std::filesystem::path> UserFolder(const char* variable, const char* below_home) {
  if (const char* set = std::getenv(variable); set && *set == '/') return std::filesystem::path(set);
  if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / below_home;
  return std::nullopt;
}

}  // namespace kest::shell
