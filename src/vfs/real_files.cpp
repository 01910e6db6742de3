#include "vfs/real_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest::real_files {

std::vector<std::string> SplitName(std::string_view name) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t length = cp932::CharLength(name, i);
    if (length == 1 && (name[i] == '\\' || name[i] == '/')) {
      parts.emplace_back();
    } else {
      parts.back().append(name.substr(i, length));
    }
    i += length;
  }
  std::erase_if(parts, [](const std::string& part) { return part.empty() || part == "."; });
  return parts;
}

namespace {

// ASCII case folding is safe on UTF-8: bytes of multi-byte sequences are never ASCII.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// The entry of `folder` named `component`: the exact name when it exists, else the first entry
// that differs only in ASCII case.
}  // namespace

std::optional<std::string> FindEntry(const std::string& folder, const std::string& component) {
  const std::string exact = folder + component;
  struct stat info {};
  if (::lstat(exact.c_str(), &info) == 0) return exact;
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return std::nullopt;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (SameIgnoringAsciiCase(entry->d_name, component)) return folder + entry->d_name;
  }
  return std::nullopt;
}

bool IsContainedName(std::string_view name) {
  // A leading separator is harmless: the name is always joined to a folder, as the player did.
  if (name.empty()) return false;
  if (name.find('\0') != std::string_view::npos) return false;
  if (name.size() >= 2 && name[1] == ':') return false;  // a drive letter
  for (const std::string& part : SplitName(name))
    if (part == "..") return false;
  return true;
}

std::optional<std::string> Resolve(const std::string& folder, std::string_view name) {
  if (!IsContainedName(name)) return std::nullopt;
  std::string path = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  const std::vector<std::string> parts = SplitName(name);
  if (parts.empty()) return std::nullopt;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string component;
    try {
      component = cp932::ToUtf8(parts[i]);
    } catch (const KestError&) {
      return std::nullopt;  // a name with no file-system form cannot name a file
    }
    std::optional<std::string> found = FindEntry(path, component);
    if (!found) return std::nullopt;
    path = *found;
    if (i + 1 < parts.size()) path += '/';
  }
  return path;
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

Bytes Load(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw KestError(cp932::FromUtf8Lenient(path + ": cannot open"));
  struct stat info {};
  Bytes bytes;
  if (::fstat(fd, &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      ::close(fd);
      throw KestError(cp932::FromUtf8Lenient(path + ": cannot read"));
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  return bytes;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::int32_t DosTimeStamp(std::time_t modified) {
  std::tm local {};
  if (!::localtime_r(&modified, &local) || local.tm_year < 80 || local.tm_year > 207) return 0;
  const std::uint32_t date = static_cast<std::uint32_t>((local.tm_year - 80) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  const std::uint32_t time = static_cast<std::uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
  return static_cast<std::int32_t>(date << 16 | time);
}

std::int32_t DosTimeStampOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? DosTimeStamp(info.st_mtime) : 0;
}

std::string FormatDosTimeStamp(std::int32_t stamp) {
  if (stamp == 0) return "-";
  const auto bits = static_cast<std::uint32_t>(stamp);
  const unsigned date = bits >> 16, time = bits & 0xFFFF;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (date >> 9), (date >> 5) & 15, date & 31,
                time >> 11, (time >> 5) & 63, (time & 31) * 2);
  return text;
}

}  // namespace kest::real_files
