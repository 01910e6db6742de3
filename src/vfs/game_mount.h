#pragma once
// Mounting a title's data at start-up.
//
// Without game folders on the command line the title lies beside the program: the program's
// folder becomes the base folder, an archive the program carries as resource "DUMMY" of type
// "BINTYPE" is mounted when it ends in "vf", and so is the title's Windows executable when one is
// named and ends in "kx" (its archive is appended to it). With game folders, the first becomes
// the base folder and "game.dat" of each folder, in order, is mounted when it exists.

#include <span>
#include <string>

#include "vfs/file_manager.h"

namespace kest {

struct GameLocation {
  std::string program_folder;    // the folder of the running program
  std::string title_executable;  // a title's Windows executable with an appended archive, or empty
  std::span<const std::string> game_folders;  // from the command line, possibly none
};

void MountGameData(TVrFileManager& files, const GameLocation& location);

// Whether a file ends with the two bytes `mark` ("kx" for an executable with an archive).
bool FileEndsWith(const std::string& path, std::string_view mark);

}  // namespace kest
