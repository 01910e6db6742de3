#pragma once
// Which game.ini the player reads at start-up and the settings dialog writes:
//  - `--ini FILE`: that file, for both;
//  - else "game.ini" in the program's folder, when that folder can be written;
//  - else $XDG_CONFIG_HOME/kestplayer/game.ini (~/.config when the variable is unset or not an
//    absolute path), which is written; it is read when it exists, else the program folder's is.

#include <string>

namespace kest::shell {

struct GameIniLocation {
  std::string read_path;
  std::string write_path;
};

GameIniLocation ChooseGameIni(const std::string& program_folder, const std::string& ini_option);

}  // namespace kest::shell
