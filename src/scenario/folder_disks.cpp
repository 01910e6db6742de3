#include "scenario/folder_disks.h"

#include "core/cp932.h"

namespace kest {

namespace {

std::string AsFolder(std::string_view path) {
  std::string folder = cp932::UpperCase(path);
  // A trailing "\" only counts when it is a character of its own, not a trail byte.
  std::size_t last = 0;
  for (std::size_t i = 0; i < folder.size(); i += cp932::CharLength(folder, i)) last = i;
  if (folder.empty() || !(folder[last] == '\\' && cp932::CharLength(folder, last) == 1)) folder += '\\';
  return folder;
}

// The path without its last component ("" when none is left).
std::string_view CutLastComponent(std::string_view path) {
  std::size_t cut = 0;
  for (std::size_t i = 0; i < path.size(); i += cp932::CharLength(path, i))
    if (path[i] == '\\' && cp932::CharLength(path, i) == 1) cut = i;
  return path.substr(0, cut);
}

}  // namespace

std::int32_t TFolderDiskList::DiskOf(std::string_view file_name) const {
  for (std::string_view path = file_name; !path.empty(); path = CutLastComponent(path)) {
    const std::string wanted = AsFolder(path);
    for (const FolderDisk& entry : entries_)
      if (cp932::SameText(AsFolder(entry.folder), wanted)) return entry.disk;
  }
  return 0;
}

}  // namespace kest
