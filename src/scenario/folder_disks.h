#pragma once
// TFolderDiskList: which folder of a multi-disk title lies on which disk. A file belongs to the
// disk of the longest listed folder that contains it; folders compare without regard to case.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/project_file.h"

namespace kest {

class TFolderDiskList {
 public:
  void Clear() { entries_.clear(); }
  void Add(std::string folder, std::int32_t disk) { entries_.push_back({std::move(folder), disk}); }
  void Assign(const std::vector<FolderDisk>& entries) { entries_ = entries; }
  std::size_t Count() const { return entries_.size(); }

  // The disk of `file_name`: the name is tried as a folder, then with its last component cut
  // off, and so on; the first entry equal to the current folder wins; 0 when none matches.
  std::int32_t DiskOf(std::string_view file_name) const;

 private:
  std::vector<FolderDisk> entries_;
};

}  // namespace kest
