#pragma once
// Temporary real copies of archive entries, for the media decoders that need a file path.
// They live in a private folder made for this process (mkdtemp), are created exclusively and
// never through a link, carry only a sanitised extension, and are removed with the folder when
// the list is destroyed at exit. A copy is shared: asking again for the same name raises its
// use count instead of extracting it twice.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"

namespace kest {

class TVrLockList {
 public:
  struct TVrLockData {
    std::string name;  // the virtual file name
    std::uint32_t id = 0;
    int use_count = 0;
  };

  // `parent` is where the private folder is made ($TMPDIR or /tmp when empty).
  explicit TVrLockList(std::string parent = {});
  ~TVrLockList();
  TVrLockList(const TVrLockList&) = delete;
  TVrLockList& operator=(const TVrLockList&) = delete;

  // The lock for `name` (ignoring case), or nullptr.
  TVrLockData* Find(std::string_view name);
  // Creates a lock and its file with `content`; raises "作業用ファイルが作れません" when the
  // file cannot be made.
  TVrLockData& Create(std::string_view name, ByteSpan content);
  std::string PathOf(const TVrLockData& lock) const;

  const std::string& Folder();
  const std::vector<TVrLockData>& Locks() const { return locks_; }

 private:
  std::string parent_;
  std::string folder_;  // made on first use
  std::vector<TVrLockData> locks_;
  std::uint32_t next_id_ = 0;
};

// The extension of a virtual name as a temporary file may carry it: a dot and up to 8 ASCII
// letters or digits; anything else gives no extension.
std::string SanitisedExtension(std::string_view name);

}  // namespace kest
