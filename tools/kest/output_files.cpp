#include "output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/cp932.h"
#include "core/errors.h"
#include "platform/png_writer.h"
#include "vfs/atomic_file.h"
#include "vfs/real_files.h"

namespace kest::tool {

void WritePicturePng(const std::string& path, TDIBX& picture) {
  platform::SurfaceView view;
  if (picture.Width() > 0 && picture.Height() > 0) {
    view = {picture.PixelAddress(0, 0), picture.Pitch(), {picture.Width(), picture.Height()}};
  }
  platform::WritePngFile(path, view);
}

void WriteNewFile(const std::string& path, const Bytes& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) throw KestError(cp932::FromUtf8Lenient(path + ": cannot create (" + std::strerror(errno) + ")"));
  if (!WriteAllBytes(fd, bytes)) {
    const int error = errno;
    ::close(fd);
    throw KestError(cp932::FromUtf8Lenient(path + ": cannot write (" + std::strerror(error) + ")"));
  }
  if (::close(fd) != 0) throw KestError(cp932::FromUtf8Lenient(path + ": cannot write (" + std::strerror(errno) + ")"));
}

// The real path below `folder` for an entry name, creating the folders on the way; nothing when
// the name would leave the folder, passes through a symbolic link, or has no UTF-8 form.
std::optional<std::string> PlaceBelow(const std::string& folder, const std::string& name, std::string& why) {
  if (!real_files::IsContainedName(name)) {
    why = "would land outside the output folder";
    return std::nullopt;
  }
  const std::vector<std::string> parts = real_files::SplitName(name);
  std::string path = folder;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string component;
    try {
      component = cp932::ToUtf8(parts[i]);
    } catch (const KestError&) {
      why = "has no UTF-8 form";
      return std::nullopt;
    }
    path += "/" + component;
    struct stat info {};
    const bool exists = ::lstat(path.c_str(), &info) == 0;
    if (exists && S_ISLNK(info.st_mode)) {
      why = "would be written through a symbolic link";
      return std::nullopt;
    }
    if (i + 1 < parts.size() && !exists && ::mkdir(path.c_str(), 0755) != 0) {
      why = std::string("cannot create its folder (") + std::strerror(errno) + ")";
      return std::nullopt;
    }
  }
  return path;
}

}  // namespace kest::tool
