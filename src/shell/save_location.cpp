#include "shell/save_location.h"

#include <unistd.h>

#include <filesystem>

#include "shell/user_folders.h"

namespace kest::shell {

SaveLocation ChooseSaveFolder(const std::string& game_folder, const std::string& save_dir) {
  if (!save_dir.empty()) return {save_dir, false};
  std::filesystem::path game(game_folder);
  // A folder that does not exist is not a title; the start-up says so.
  if (::access(game.c_str(), W_OK) == 0 || ::access(game.c_str(), F_OK) != 0) return {game.string(), false};
  const std::optional<std::filesystem::path> data = UserFolder("XDG_DATA_HOME", ".local/share");
  if (!data) return {game.string(), false};  // nowhere better: the write fails and says so
  std::filesystem::path name = game.lexically_normal().filename();
  if (name.empty()) name = game.lexically_normal().parent_path().filename();
  const std::filesystem::path folder = *data / "kestplayer" / (name.empty() ? std::filesystem::path("title") : name);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return {folder.string(), true};
}

}  // namespace kest::shell
