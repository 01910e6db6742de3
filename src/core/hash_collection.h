#pragma once
// THashCollection: an ordered collection of named items, found by name without regard to case.
//
// The player hashes names into 256 chains with NameHash and puts a new item at the head of its
// chain, so a lookup meets the newest of several same-named items first. What callers can
// observe of a chain is only the order of the items that share a name, so the chains are kept
// as one list per folded name, in insertion order: lookups stay fast for tens of thousands of
// names whose NameHash collide, and the newest duplicate still wins.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/cp932.h"

namespace kest {

// The player's name hash over the lower-cased name s of n bytes:
// (n * 16 + (n >= 2 ? s[n-2] + s[0] : 0)) mod 256.
std::uint8_t NameHash(std::string_view name);

class THashCollectionItem {
 public:
  explicit THashCollectionItem(std::string name) : name_(std::move(name)) {}
  virtual ~THashCollectionItem() = default;
  THashCollectionItem(const THashCollectionItem&) = delete;
  THashCollectionItem& operator=(const THashCollectionItem&) = delete;

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

template <typename Item>
class THashCollection {
 public:
  std::size_t Count() const { return items_.size(); }
  Item& operator[](std::size_t index) const { return *items_[index]; }

  Item& Add(std::unique_ptr<Item> item) {
    Item& added = *item;
    chains_[cp932::LowerCase(added.Name())].push_back(&added);
    items_.push_back(std::move(item));
    return added;
  }

  // The newest item whose name equals `name` ignoring case, or nullptr.
  Item* Find(std::string_view name) const {
    const std::vector<Item*>* chain = Chain(name);
    return chain ? chain->back() : nullptr;
  }

  // Position of Find's item in the collection's order, or -1.
  std::ptrdiff_t IndexOf(std::string_view name) const {
    const Item* item = Find(name);
    if (!item) return -1;
    for (std::size_t i = items_.size(); i-- > 0;)
      if (items_[i].get() == item) return static_cast<std::ptrdiff_t>(i);
    return -1;
  }

  // Every item named `name` (ignoring case), newest first, as a chain walk would meet them.
  template <typename Visit>
  void ForEachNamed(std::string_view name, Visit visit) const {
    if (const std::vector<Item*>* chain = Chain(name))
      for (auto it = chain->rbegin(); it != chain->rend(); ++it) visit(**it);
  }

  // Removes the item at `index` and hands it back.
  std::unique_ptr<Item> Extract(std::size_t index) {
    std::unique_ptr<Item> item = std::move(items_[index]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    const auto chain = chains_.find(cp932::LowerCase(item->Name()));
    std::erase(chain->second, item.get());
    if (chain->second.empty()) chains_.erase(chain);
    return item;
  }

  void Clear() {
    chains_.clear();
    items_.clear();
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  const std::vector<Item*>* Chain(std::string_view name) const {
    const auto found = chains_.find(cp932::LowerCase(name));
    return found == chains_.end() ? nullptr : &found->second;
  }

  std::vector<std::unique_ptr<Item>> items_;
  std::unordered_map<std::string, std::vector<Item*>> chains_;  // folded name → oldest..newest
};

}  // namespace kest
