#include "vfs/temp_copies.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/cp932.h"
#include "core/errors.h"
#include "vfs/atomic_file.h"
#include "vfs/messages.h"

namespace kest {

std::string SanitisedExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view extension = name.substr(dot + 1);
  if (extension.empty() || extension.size() > 8) return {};
  const bool plain = std::all_of(extension.begin(), extension.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
  if (!plain) return {};
  std::string result(1, '.');
  result.append(extension);
  return result;
}

TVrLockList::TVrLockList(std::string parent) : parent_(std::move(parent)) {}

TVrLockList::~TVrLockList() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

const std::string& TVrLockList::Folder() {
  if (folder_.empty()) {
    std::string parent = parent_;
    if (parent.empty()) {
      const char* tmp = std::getenv("TMPDIR");
      parent = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = parent + "/kestplayer-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw KestError(Message(VfsMessage::TempFileFailed));
    folder_ = pattern + "/";
  }
  return folder_;
}

TVrLockList::TVrLockData* TVrLockList::Find(std::string_view name) {
  for (TVrLockData& lock : locks_)
    if (cp932::SameText(lock.name, name)) return &lock;
  return nullptr;
}

std::string TVrLockList::PathOf(const TVrLockData& lock) const {
  char stem[16];
  std::snprintf(stem, sizeof stem, "~kx%08X", lock.id);
  return folder_ + stem + SanitisedExtension(lock.name);
}

TVrLockList::TVrLockData& TVrLockList::Create(std::string_view name, ByteSpan content) {
  Folder();
  const std::uint32_t id = next_id_;
  do ++next_id_;
  while (std::any_of(locks_.begin(), locks_.end(), [&](const TVrLockData& lock) { return lock.id == next_id_; }));
  TVrLockData lock{std::string(name), id, 1};

  const std::string path = PathOf(lock);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) throw KestError(Message(VfsMessage::TempFileFailed));
  if (!WriteAllBytes(fd, content)) {
    ::close(fd);
    ::unlink(path.c_str());
    throw KestError(Message(VfsMessage::TempFileFailed));
  }
  ::close(fd);
  locks_.push_back(std::move(lock));
  return locks_.back();
}

}  // namespace kest
