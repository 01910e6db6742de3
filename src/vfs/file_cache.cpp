#include "vfs/file_cache.h"

#include "core/cp932.h"

namespace kest {

TVrCacheList::Item& TVrCacheList::Take(std::string_view name) {
  std::string key = cp932::UpperCase(name);
  if (auto found = index_.find(key); found != index_.end()) {
    items_.splice(items_.begin(), items_, found->second);
    return items_.front();
  }
  items_.push_front({key, {}});
  index_.emplace(std::move(key), items_.begin());
  std::size_t total = 0;
  for (const Item& item : items_) total += item.content.size();
  while (items_.size() > 1 && total > kBudget) {
    total -= items_.back().content.size();
    index_.erase(items_.back().name);
    items_.pop_back();
  }
  return items_.front();
}

void TVrCacheList::Forget(std::string_view name) {
  const auto found = index_.find(cp932::UpperCase(name));
  if (found == index_.end()) return;
  items_.erase(found->second);
  index_.erase(found);
}

void TVrCacheList::Clear() {
  items_.clear();
  index_.clear();
}

const TVrCacheList::Item* TVrCacheList::Peek(std::string_view name) const {
  const auto found = index_.find(cp932::UpperCase(name));
  return found == index_.end() ? nullptr : &*found->second;
}

}  // namespace kest
