#pragma once
// The most-recently-used cache of file contents that the file manager reads through. A title
// reads the same pages and pictures again and again; the cache keeps about 4 MiB of them.

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/byte_reader.h"

namespace kest {

class TVrCacheList {
 public:
  static constexpr std::size_t kBudget = 4'194'304;

  struct Item {
    std::string name;  // upper-cased
    Bytes content;
  };

  // The item for `name`, moved to the front. A new item starts empty; before it is handed out,
  // the least recently used items are dropped while the others add up to more than the budget.
  Item& Take(std::string_view name);
  // Drops the item of that name, if any.
  void Forget(std::string_view name);
  void Clear();

  std::size_t Count() const { return items_.size(); }
  const Item* Peek(std::string_view name) const;

 private:
  std::list<Item> items_;  // most recent first
  std::unordered_map<std::string, std::list<Item>::iterator> index_;
};

}  // namespace kest
