#include "shell/game_ini_location.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace kest::shell {

GameIniLocation ChooseGameIni(const std::string& program_folder, const std::string& ini_option) {
  if (!ini_option.empty()) return {ini_option, ini_option};
  const std::filesystem::path beside = std::filesystem::path(program_folder) / "game.ini";
  if (::access(std::filesystem::path(program_folder).c_str(), W_OK) == 0) return {beside.string(), beside.string()};
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::filesystem::path(home) / ".config";
  } else {
    return {beside.string(), beside.string()};  // nowhere better: writing fails and says so
  }
  const std::filesystem::path own = config / "kestplayer" / "game.ini";
  std::error_code error;
  const bool own_exists = std::filesystem::exists(own, error);
  return {own_exists ? own.string() : beside.string(), own.string()};
}

}  // namespace kest::shell
