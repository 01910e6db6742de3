#include "shell/game_ini_location.h"

#include <unistd.h>

#include <filesystem>

#include "shell/user_folders.h"

namespace kest::shell {

GameIniLocation ChooseGameIni(const std::string& program_folder, const std::string& ini_option) {
  if (!ini_option.empty()) return {ini_option, ini_option};
  const std::filesystem::path beside = std::filesystem::path(program_folder) / "game.ini";
  if (::access(std::filesystem::path(program_folder).c_str(), W_OK) == 0) return {beside.string(), beside.string()};
  const std::optional<std::filesystem::path> config = UserFolder("XDG_CONFIG_HOME", ".config");
  if (!config) return {beside.string(), beside.string()};  // nowhere better: writing fails and says so
  const std::filesystem::path own = *config / "kestplayer" / "game.ini";
  std::error_code error;
  const bool own_exists = std::filesystem::exists(own, error);
  return {own_exists ? own.string() : beside.string(), own.string()};
}

}  // namespace kest::shell
