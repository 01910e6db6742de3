#pragma once
// The pages the interpreter has loaded, most recently used first. Calls and jumps between
// cached pages do not read them again; loading an eleventh page frees the least recently used
// one, unless that is the page running now.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scenario/page.h"

namespace kest {

class TPageCache {
 public:
  static constexpr std::size_t kCapacity = 10;

  // Reads the named page into the given one; raises what the reading raises.
  using Loader = std::function<void(TPage& page, const std::string& name)>;
  explicit TPageCache(Loader loader) : loader_(std::move(loader)) {}

  enum class Placement {
    MoveToFront,  // the page becomes the most recently used; the cache is trimmed
    Append,       // a new page goes last, nothing moves, nothing is trimmed
  };

  // The cached page named exactly `name`, else a newly loaded one (a load error leaves the
  // cache as it was). `current` is the running page, never freed by the trimming.
  std::shared_ptr<TPage> Get(const std::string& name, Placement placement, const TPage* current);

  std::size_t Count() const { return pages_.size(); }
  const TPage& operator[](std::size_t index) const { return *pages_[index]; }
  bool Contains(const std::string& name) const;
  void Clear() { pages_.clear(); }

 private:
  Loader loader_;
  // Shared, so that a command running on a page keeps it alive even if the page leaves the
  // cache while it runs.
  std::vector<std::shared_ptr<TPage>> pages_;
};

}  // namespace kest
