#pragma once
// One player per game folder. The lock's name comes from the folder the way the player always
// derived it: upper-cased, with a trailing separator, every separator replaced by "-" (a "\"
// that is the trail byte of a double-byte character is not a separator). C:\GAMES\FOO becomes
// C:-GAMES-FOO-; on Linux /home/me/foo becomes -HOME-ME-FOO-. A second player for the same
// folder finds the lock held and ends silently.

#include <string>
#include <string_view>

namespace kest::shell {

std::string SingleInstanceName(std::string_view folder);

class InstanceLock {
 public:
  // Takes the lock for `folder` in `lock_folder` ($XDG_RUNTIME_DIR or /tmp when empty).
  InstanceLock(std::string_view folder, std::string lock_folder = {});
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another player holds the lock for the same folder. A lock file that cannot be
  // made (a read-only lock folder) does not stop the player: it runs unguarded.
  bool HeldByAnother() const { return held_by_another_; }
  bool Acquired() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool held_by_another_ = false;
};

}  // namespace kest::shell
