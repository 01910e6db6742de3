#include "vfs/cd_roots.h"

#include <fstream>
#include <sstream>

namespace kest {

namespace {

std::string DecodeMountField(std::string_view field) {
  std::string decoded;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        field[i + 1] >= '0' && field[i + 1] <= '7' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
        field[i + 3] >= '0' && field[i + 3] <= '7') {
      decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

}  // namespace

std::vector<std::string> OpticalMountPoints(std::string_view mount_table) {
  std::vector<std::string> roots;
  std::istringstream lines{std::string(mount_table)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mount_point, type;
    if (!(fields >> device >> mount_point >> type)) continue;
    if (type != "iso9660" && type != "udf") continue;
    std::string root = DecodeMountField(mount_point);
    if (root.empty() || root.back() != '/') root += '/';
    roots.push_back(std::move(root));
  }
  return roots;
}

std::vector<std::string> SystemOpticalMountPoints() {
  std::ifstream in("/proc/self/mounts");
  if (!in) return {};
  std::stringstream table;
  table << in.rdbuf();
  return OpticalMountPoints(table.str());
}

}  // namespace kest
