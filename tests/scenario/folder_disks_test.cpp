#include <gtest/gtest.h>

#include "scenario/folder_disks.h"

namespace kest {
namespace {

TEST(FolderDisks, TheLongestListedFolderDecides) {
  TFolderDiskList disks;
  disks.Add("CG", 2);
  disks.Add("cg\\sub\\", 3);
  disks.Add("\x95\x5c", 4);  // "表": its trail byte is "\", which must not end the folder
  struct { const char* file; std::int32_t disk; } cases[] = {
      {"CG\\ev01.zel", 2}, {"cg\\SUB\\x.zel", 3}, {"CG\\sub", 3}, {"CG", 2}, {"BGM\\title.ogg", 0},
      {"CGX\\a.zel", 0}, {"\x95\x5c\\a.zel", 4}, {"", 0}};
  for (auto c : cases) EXPECT_EQ(disks.DiskOf(c.file), c.disk) << c.file;
}

}  // namespace
}  // namespace kest
