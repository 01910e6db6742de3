#include "scenario/page_cache.h"

#include <algorithm>

namespace kest {

bool TPageCache::Contains(const std::string& name) const {
  return std::any_of(pages_.begin(), pages_.end(), [&](const auto& page) { return page->Name == name; });
}

std::shared_ptr<TPage> TPageCache::Get(const std::string& name, Placement placement, const TPage* current) {
  const auto found = std::find_if(pages_.begin(), pages_.end(), [&](const auto& page) { return page->Name == name; });
  if (found != pages_.end()) {
    std::shared_ptr<TPage> page = *found;
    if (placement == Placement::MoveToFront) std::rotate(pages_.begin(), found, found + 1);
    return page;
  }
  auto page = std::make_shared<TPage>();
  loader_(*page, name);
  if (placement == Placement::Append) {
    pages_.push_back(page);
    return page;
  }
  pages_.insert(pages_.begin(), page);
  while (pages_.size() > kCapacity && pages_.back().get() != current) pages_.pop_back();
  return page;
}

}  // namespace kest
