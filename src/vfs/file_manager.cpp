#include "vfs/file_manager.h"

#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "vfs/cd_roots.h"
#include "vfs/install_identity.h"
#include "vfs/messages.h"
#include "vfs/real_files.h"

namespace kest {

namespace {

[[noreturn]] void ThrowMissing(std::string_view name) {
  throw KestError(FillMessage(Message(VfsMessage::FileMissing), {name}));
}

std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && cp932::SameText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

TVrFileManager::TVrFileManager(FileManagerOptions options)
    : options_(std::move(options)), locks_(options_.temp_parent) {
  if (options_.scan_optical_mounts) cd_roots_ = SystemOpticalMountPoints();
  for (const std::string& root : options_.extra_disk_roots) cd_roots_.push_back(WithTrailingSlash(root));
  archives_.push_back({"", std::make_unique<TVrFileCollection>()});
}

int TVrFileManager::Mount(const std::string& file_name) {
  for (const Mounted& mounted : archives_)
    if (!mounted.file_name.empty() && cp932::SameText(mounted.file_name, file_name)) return -1;
  auto collection = std::make_unique<TVrFileCollection>();
  collection->SetInflateLimit(options_.inflate_limit);
  collection->LoadFromFile(file_name);
  archives_.push_back({file_name, std::move(collection)});
  return ArchiveCount() - 1;
}

int TVrFileManager::MountResource(ByteSpan bytes, std::string name) {
  auto collection = std::make_unique<TVrFileCollection>();
  collection->SetInflateLimit(options_.inflate_limit);
  collection->LoadFromResource(bytes, std::move(name));
  archives_.push_back({"", std::move(collection)});
  return ArchiveCount() - 1;
}

void TVrFileManager::Unmount(int index) {
  if (index <= kMemoryArchive || index >= ArchiveCount()) return;
  archives_.erase(archives_.begin() + index);
}

void TVrFileManager::SetBaseFolder(const std::string& folder) { base_folder_ = WithTrailingSlash(folder); }

std::optional<std::string> TVrFileManager::RealFileInBase(std::string_view name) const {
  std::optional<std::string> path = real_files::Resolve(base_folder_, name);
  if (path && real_files::IsFile(*path)) return path;
  return std::nullopt;
}

std::optional<std::string> TVrFileManager::RealFileOnDisk(std::string_view name) const {
  for (const std::string& root : cd_roots_) {
    std::optional<std::string> path = real_files::Resolve(root, name);
    if (path && real_files::IsFile(*path)) return path;
  }
  return std::nullopt;
}

bool TVrFileManager::Exists(std::string_view name) {
  if (name.empty()) return false;
  for (const Mounted& mounted : archives_)
    if (mounted.collection->IndexOf(name) >= 0) return true;
  if (!base_folder_.empty() && RealFileInBase(name)) return true;
  return RealFileOnDisk(name).has_value();
}

Bytes TVrFileManager::ReadUncached(std::string_view name, bool& cacheable) {
  cacheable = true;
  if (std::optional<std::string> path = RealFileInBase(name)) return real_files::Load(*path);
  for (const Mounted& mounted : archives_) {
    TVrFileCollection& archive = *mounted.collection;
    TVrFile* entry = archive.Find(name);
    if (!entry) continue;
    if (entry->Data) {
      cacheable = false;  // memory files change under the cache's feet
      return entry->Data->Data();
    }
    if (archive.HasSource()) return archive.Unpack(*entry, archive.ReadStoredBytes(*entry));
  }
  if (std::optional<std::string> path = RealFileOnDisk(name)) return real_files::Load(*path);
  ThrowMissing(name);
}

Bytes TVrFileManager::ReadFile(std::string_view name) {
  TVrCacheList::Item& cached = cache_.Take(name);
  if (!cached.content.empty()) return cached.content;
  bool cacheable = true;
  Bytes content;
  try {
    content = ReadUncached(name, cacheable);
  } catch (...) {
    // A failed read leaves no empty item behind: missing names would otherwise pile up.
    cache_.Forget(name);
    throw;
  }
  if (cacheable) {
    cached.content = content;
  } else {
    cache_.Forget(name);
  }
  return content;
}

std::unique_ptr<TStream> TVrFileManager::OpenRange(std::string_view name) {
  if (std::optional<std::string> path = RealFileInBase(name)) return std::make_unique<TFileRangeStream>(*path, 0, 0);
  for (const Mounted& mounted : archives_)
    if (std::unique_ptr<TRangeStream> range = mounted.collection->OpenRange(name)) return range;
  if (std::optional<std::string> path = RealFileOnDisk(name)) return std::make_unique<TFileRangeStream>(*path, 0, 0);
  ThrowMissing(name);
}

std::string TVrFileManager::RealFileName(std::string_view name) {
  if (!base_folder_.empty())
    if (std::optional<std::string> path = RealFileInBase(name)) return *path;
  for (const Mounted& mounted : archives_) {
    if (mounted.collection->IndexOf(name) < 0) continue;
    if (TVrLockList::TVrLockData* lock = locks_.Find(name)) {
      ++lock->use_count;
      return locks_.PathOf(*lock);
    }
    const Bytes content = ReadFile(name);
    return locks_.PathOf(locks_.Create(name, content));
  }
  if (std::optional<std::string> path = RealFileOnDisk(name)) return *path;
  return {};
}

TVrFile* TVrFileManager::FindMemoryEntry(std::string_view name) {
  for (const Mounted& mounted : archives_)
    if (TVrFile* entry = mounted.collection->Find(name)) return entry;
  return nullptr;
}

std::string TVrFileManager::ParentFolder(std::string_view name) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < name.size(); i += cp932::CharLength(name, i))
    if (name[i] == '\\' && cp932::CharLength(name, i) == 1) end = i + 1;
  return std::string(name.substr(0, end));
}

bool TVrFileManager::FindDisk(std::int32_t disk_index) {
  if (!disk_prompt_) return false;
  const std::string title = disk_prompt_->ProjectTitle();
  bool found = false;
  for (const std::string& root : cd_roots_) {
    const std::optional<std::string> game_data = real_files::Resolve(root, "game.dat");
    const std::optional<std::string> install = real_files::Resolve(root, "install.dat");
    if (!game_data || !install || !real_files::IsFile(*game_data) || !real_files::IsFile(*install)) continue;
    InstallIdentity identity;
    try {
      identity = ReadInstallIdentity(real_files::Load(*install), *install);
    } catch (const KestError&) {
      continue;  // a damaged install file is simply not the disk we want
    }
    if (identity.install_id == title && identity.disk_index == disk_index) {
      Mount(*game_data);
      found = true;
    }
  }
  return found;
}

bool TVrFileManager::RequestDisk(std::int32_t disk_number) {
  // Archives of the disk that is being taken out go first.
  for (int index = ArchiveCount() - 1; index > kMemoryArchive; --index) {
    const std::string& folder = Archive(index).BaseFolder();
    for (const std::string& root : cd_roots_) {
      if (StartsWithIgnoringCase(folder, root)) {
        Unmount(index);
        break;
      }
    }
  }
  if (!disk_prompt_) return false;
  for (;;) {
    if (disk_prompt_->AskForDisk(disk_number)) {
      if (FindDisk(disk_number - 1)) return true;
      continue;
    }
    if (disk_prompt_->ConfirmQuit()) {
      disk_prompt_->RequestQuit();
      return false;
    }
  }
}

}  // namespace kest
