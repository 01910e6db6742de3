#pragma once
// TVrFileManager: every game file the player opens by name is found here. It sees, in order of
// precedence, real files in the base folder, the mounted archives in mount order, and the roots
// of the title's disks. Reads go through a small cache; media that need a real path get a
// temporary copy.
//
// Names are CP932, relative, with "\" between folders, compared without regard to case. A name
// that would leave the folder it is looked up in ("..", a leading "\", a drive letter) is found
// nowhere. Real folders (base folder, disk roots, archive paths) are paths in the file system's
// encoding with a trailing "/".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vfs/archive.h"
#include "vfs/disk_prompt.h"
#include "vfs/file_cache.h"
#include "vfs/temp_copies.h"

namespace kest {

struct FileManagerOptions {
  // Folders to search like disk roots, in addition to the mounted optical disks.
  std::vector<std::string> extra_disk_roots;
  // Whether to look for mounted optical disks in the system's mount table (tests turn it off).
  bool scan_optical_mounts = true;
  std::size_t inflate_limit = kDefaultInflateLimit;
  // Where the private folder of temporary copies is made ($TMPDIR or /tmp when empty).
  std::string temp_parent;
};

class TVrFileManager {
 public:
  explicit TVrFileManager(FileManagerOptions options = {});

  // Archive 0 is always the in-memory archive that holds the "mem:" files.
  static constexpr int kMemoryArchive = 0;

  // Mounts the archive in the real file `file_name` and returns its index, or -1 when an archive
  // of that file name (ignoring case) is mounted already. A missing file mounts an empty archive.
  int Mount(const std::string& file_name);
  // Mounts an archive held in bytes the program carries.
  int MountResource(ByteSpan bytes, std::string name);
  void Unmount(int index);
  int ArchiveCount() const { return static_cast<int>(archives_.size()); }
  TVrFileCollection& Archive(int index) { return *archives_.at(static_cast<std::size_t>(index)).collection; }

  void SetBaseFolder(const std::string& folder);
  const std::string& BaseFolder() const { return base_folder_; }
  const std::vector<std::string>& CdRoots() const { return cd_roots_; }

  bool Exists(std::string_view name);
  // The file's whole content; raises "%s:ファイルがありません" when it is found nowhere.
  Bytes ReadFile(std::string_view name);
  // A read-only stream over the file's stored bytes (media are played from it without copying).
  std::unique_ptr<TStream> OpenRange(std::string_view name);
  // A real path holding the file's content: the real file itself, or a temporary copy of an
  // archive entry (shared, with a use count). Empty when the file is found nowhere.
  std::string RealFileName(std::string_view name);
  // The first entry of that name in any archive, or nullptr.
  TVrFile* FindMemoryEntry(std::string_view name);
  // Drops the cached copy of a file that has just been written.
  void ForgetCached(std::string_view name) { cache_.Forget(name); }
  void ClearCache() { cache_.Clear(); }

  // Asks for disk `disk_number` (1-based) until it is found or the user gives up; false when
  // the player is to quit.
  bool RequestDisk(std::int32_t disk_number);
  // Mounts "game.dat" of every disk root whose "install.dat" belongs to this title and lies on
  // disk `disk_index` (0-based); whether any was mounted.
  bool FindDisk(std::int32_t disk_index);
  void SetDiskPrompt(std::shared_ptr<TDiskPrompt> prompt) { disk_prompt_ = std::move(prompt); }

  // The name without its last component: up to and including its last "\" (empty without one).
  static std::string ParentFolder(std::string_view name);

  TVrLockList& Locks() { return locks_; }
  const TVrCacheList& Cache() const { return cache_; }

 private:
  struct Mounted {
    std::string file_name;  // as given to Mount; empty for resource and memory archives
    std::unique_ptr<TVrFileCollection> collection;
  };

  std::optional<std::string> RealFileInBase(std::string_view name) const;
  std::optional<std::string> RealFileOnDisk(std::string_view name) const;
  Bytes ReadUncached(std::string_view name, bool& cacheable);

  FileManagerOptions options_;
  std::vector<Mounted> archives_;
  std::vector<std::string> cd_roots_;
  std::string base_folder_;
  TVrCacheList cache_;
  TVrLockList locks_;
  std::shared_ptr<TDiskPrompt> disk_prompt_;
};

}  // namespace kest
