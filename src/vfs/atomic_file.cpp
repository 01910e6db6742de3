#include "vfs/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void Fail(const std::string& path, const char* step, int error) {
  throw KestError(cp932::FromUtf8Lenient(path + ": cannot write (" + step + ": " + std::strerror(error) + ")"));
}

}  // namespace

bool WriteAllBytes(int fd, ByteSpan bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;  // a regular file that takes nothing will never take the rest
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void WriteFileAtomically(const std::string& path, ByteSpan bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) Fail(path, "create", errno);
  auto abandon = [&](const char* step) {
    const int error = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    Fail(path, step, error);
  };
  if (!WriteAllBytes(fd, bytes)) abandon("write");
  if (::fchmod(fd, 0644) != 0) abandon("chmod");
  if (::fsync(fd) != 0) abandon("flush");
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    Fail(path, "close", error);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    Fail(path, "rename", error);
  }
  // The rename itself is durable only once the folder is flushed too.
  const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace kest
