#pragma once
// Decorations: the look a character is drawn with, shared by every character that looks the
// same. A page of thousands of characters in three styles holds three decorations, each counted
// by the characters that use it.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kest {

// StyleFlags
inline constexpr std::uint8_t kStyleBold = 1;
inline constexpr std::uint8_t kStyleItalic = 2;
inline constexpr std::uint8_t kStyleUnderline = 4;
inline constexpr std::uint8_t kStyleStrikeOut = 8;

// Colours are 0x00BBGGRR; -1 (and size 0, an empty face name) take the text area's default.
struct TDecorate {
  std::int32_t ref_count = 0;
  std::int32_t color = -1;
  std::int32_t border_color = -1;
  std::int32_t shadow_color = -1;
  std::int32_t size = 0;
  std::uint8_t style = 0;
  std::string face_name;
  std::uint8_t no_break = 0;
  std::string ruby;
  std::int32_t border = 0;
  std::int32_t shadow = 0;

  // Equal in every attribute but the count (strings byte for byte).
  bool SameLook(const TDecorate& other) const;
};

// The pool. Decorations are addressed by a stable index: a freed one leaves its slot empty for
// the next new one, so the indexes of the others never move.
class TDecorateList {
 public:
  using Index = std::uint32_t;

  // The pooled decoration that looks like `look`, its count raised; a new one when none does.
  Index Acquire(const TDecorate& look);
  // Another user (or `count` more) of a decoration already held.
  void AddRef(Index index, std::int32_t count = 1);
  // One user fewer; the decoration is freed when it has none left.
  void Release(Index index);
  // A character that held `held` takes `look` instead: a pooled equal one is shared, otherwise
  // `held` is changed in place when nobody else uses it, otherwise a new one is pooled.
  Index Change(Index held, const TDecorate& look);

  const TDecorate& operator[](Index index) const { return *slots_.at(index); }
  // Decorations in use.
  std::size_t Count() const { return by_look_.size(); }
  // Slots, used or free (the bound of valid indexes).
  std::size_t SlotCount() const { return slots_.size(); }
  bool InUse(Index index) const { return index < slots_.size() && slots_[index] != nullptr; }
  void Clear();

 private:
  struct LookHash {
    std::size_t operator()(const TDecorate* look) const;
  };
  struct LookEqual {
    bool operator()(const TDecorate* a, const TDecorate* b) const { return a->SameLook(*b); }
  };

  Index NewSlot(const TDecorate& look);

  std::vector<std::unique_ptr<TDecorate>> slots_;
  std::vector<Index> free_slots_;
  std::unordered_map<const TDecorate*, Index, LookHash, LookEqual> by_look_;
};

}  // namespace kest
