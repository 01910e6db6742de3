#pragma once
// Where a title's other disks can be found on Linux: the mount points of optical file systems
// (iso9660, udf) in the system's mount table, plus folders the user names in the configuration
// (for disk images copied to the hard disk).

#include <string>
#include <string_view>
#include <vector>

namespace kest {

// The optical mount points listed in a mount table in /proc/self/mounts form, each with a
// trailing "/". Octal escapes such as "\040" (a space) are decoded.
std::vector<std::string> OpticalMountPoints(std::string_view mount_table);

// OpticalMountPoints of /proc/self/mounts, or nothing when it cannot be read.
std::vector<std::string> SystemOpticalMountPoints();

}  // namespace kest
