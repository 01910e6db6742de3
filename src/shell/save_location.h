#pragma once
// Where "save.dat" is kept: in the game folder, as the player always kept it, unless the user
// names another folder; when the game folder cannot be written (a title on read-only media, a
// system-wide install) it goes to $XDG_DATA_HOME/kestplayer/<game folder's name>/ (by default
// ~/.local/share/...), and the player says so.

#include <string>

namespace kest::shell {

struct SaveLocation {
  std::string folder;  // with no trailing "/"
  bool moved = false;  // the game folder was not writable
};

SaveLocation ChooseSaveFolder(const std::string& game_folder, const std::string& save_dir);

}  // namespace kest::shell
