#include "vfs/game_mount.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "vfs/real_files.h"
#include "vfs/resources.h"

namespace kest {

bool FileEndsWith(const std::string& path, std::string_view mark) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ends = false;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= static_cast<off_t>(mark.size())) {
    char tail[8] = {};
    const auto length = static_cast<ssize_t>(mark.size());
    ends = ::pread(fd, tail, mark.size(), info.st_size - length) == length && std::string_view(tail, mark.size()) == mark;
  }
  ::close(fd);
  return ends;
}

void MountGameData(TVrFileManager& files, const GameLocation& location) {
  if (location.game_folders.empty()) {
    files.SetBaseFolder(location.program_folder);
    if (const std::optional<ByteSpan> dummy = FindResource("BINTYPE", "DUMMY");
        dummy && dummy->size() >= 2 && (*dummy)[dummy->size() - 2] == 'v' && (*dummy)[dummy->size() - 1] == 'f')
      files.MountResource(*dummy, "DUMMY");
    if (!location.title_executable.empty() && FileEndsWith(location.title_executable, "kx"))
      files.Mount(location.title_executable);
    return;
  }
  files.SetBaseFolder(location.game_folders.front());
  for (const std::string& folder : location.game_folders) {
    std::string slashed = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    if (const std::optional<std::string> game_data = real_files::FindEntry(slashed, "game.dat");
        game_data && real_files::IsFile(*game_data))
      files.Mount(*game_data);
  }
}

}  // namespace kest
