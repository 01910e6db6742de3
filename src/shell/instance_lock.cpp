#include "shell/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "core/cp932.h"

namespace kest::shell {

std::string SingleInstanceName(std::string_view folder) {
  std::string name = cp932::UpperCase(folder);
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < name.size(); i += cp932::CharLength(name, i)) last = i;
  const bool ends_with_separator =
      last != std::string::npos && cp932::CharLength(name, last) == 1 && (name[last] == '\\' || name[last] == '/');
  if (!ends_with_separator) name += '\\';
  for (std::size_t i = 0; i < name.size(); i += cp932::CharLength(name, i))
    if (cp932::CharLength(name, i) == 1 && (name[i] == '\\' || name[i] == '/')) name[i] = '-';
  return name;
}

InstanceLock::InstanceLock(std::string_view folder, std::string lock_folder) {
  if (lock_folder.empty()) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    lock_folder = runtime && *runtime ? runtime : "/tmp";
  }
  // The name may hold any byte but "/" and NUL, which the derivation has already removed.
  path_ = lock_folder + "/kestplayer" + SingleInstanceName(folder) + "lock";
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    held_by_another_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
  }
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock; the file stays for the next start
}

}  // namespace kest::shell
