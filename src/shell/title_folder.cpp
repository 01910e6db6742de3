#include "shell/title_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "scenario/project_file.h"
#include "vfs/real_files.h"

namespace kest::shell {

std::string WhyFolderCannotBeRead(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return folder + ": no such folder";
    return folder + ": cannot be read (" + std::strerror(errno) + ")";
  }
  if (!S_ISDIR(info.st_mode)) return folder + ": not a folder (name the folder that holds the title's game.dat)";
  DIR* listing = ::opendir(folder.c_str());
  if (!listing) return folder + ": the folder cannot be read (" + std::strerror(errno) + ")";
  ::closedir(listing);
  return {};
}

std::string WhyProjectDidNotStart(TProject::SilentStop stop, std::int32_t version, const std::string& game_folder) {
  const std::string slashed = game_folder.empty() || game_folder.back() == '/' ? game_folder : game_folder + "/";
  switch (stop) {
    case TProject::SilentStop::kNone: return {};
    case TProject::SilentStop::kNoProjectFile:
      if (const auto game_data = real_files::FindEntry(slashed, "game.dat"); game_data && real_files::IsFile(*game_data))
        return *game_data + " holds no kest.kpb, the project file a title starts from";
      return game_folder + " holds neither game.dat nor kest.kpb, so it holds no title";
    case TProject::SilentStop::kProjectTooNew:
      return game_folder + ": the project file kest.kpb is of version " + std::to_string(version) +
             ", newer than this player reads (at most " + std::to_string(kNewestProjectVersion) + ")";
  }
  return {};
}

}  // namespace kest::shell
