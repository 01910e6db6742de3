#pragma once
// TPage: a loaded page file (".ksb"), a flat list of commands. Block structure is stored as an
// indent on each command and as command indices the compiler worked out.
//
//   int32 version (103 to 110; newer pages load empty, older ones must be rebuilt)
//   byte ResultType (1 integer, 2 real, 3 flag, 4 string: the type of "@Result")
//   int32 n property sets, int32 m bytes each, then the n sets: set k says which property ids a
//     command of type k stores (bit i of the 168 bits, least significant bit of byte 0 first)
//   int32 c, then c command records: type byte (low 7 bits), int32 indent, byte disabled,
//     byte continue-frame, int32 line number, then the type's fields

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"
#include "core/errors.h"
#include "params/property_types.h"
#include "scenario/command.h"

namespace kest {

class TVrFileManager;

inline constexpr std::int32_t kOldestPageVersion = 103;
inline constexpr std::int32_t kNewestPageVersion = 110;
inline constexpr std::size_t kPropertySetBytes = 21;

// A page too old for this player: the title must be rebuilt. Unlike the errors a command may
// raise, it stops the player; the shell shows its text.
class PageTooOldError : public FatalError {
 public:
  explicit PageTooOldError(const std::string& cp932_text) : FatalError(cp932_text) {}
};

class TPage {
 public:
  std::uint8_t ResultType = 1;
  std::vector<std::unique_ptr<TCommand>> Commands;
  std::string Name;
  std::array<std::array<std::uint8_t, kPropertySetBytes>, kCommandTypeCount> PropertySets{};
  std::int32_t Version = 104;

  // The property-set block as the file held it (count, size, bytes): a page is written back
  // exactly, even when its sets were longer or shorter than the player reads.
  std::int32_t StoredSetCount = static_cast<std::int32_t>(kCommandTypeCount);
  std::int32_t StoredSetSize = static_cast<std::int32_t>(kPropertySetBytes);
  Bytes StoredSets;

  bool HasProperty(std::uint8_t command_type, std::size_t property_id) const;
  void SetProperty(std::uint8_t command_type, std::size_t property_id);
  // Calls `visit` with each property id (below 162) in the type's set, in increasing order.
  template <typename Visit>
  void ForEachProperty(std::uint8_t command_type, Visit visit) const {
    if (command_type >= kCommandTypeCount) return;
    const auto& set = PropertySets[command_type];
    for (std::size_t byte = 0; byte < kPropertySetBytes; ++byte) {
      for (unsigned bits = set[byte]; bits != 0; bits &= bits - 1) {
        const std::size_t id = byte * 8 + static_cast<std::size_t>(__builtin_ctz(bits));
        if (id < kPropertyCount) visit(id);
      }
    }
  }
  // Index of the first command that is the label `name`, or -1.
  std::int32_t FindLabel(std::string_view name) const;
  std::int32_t IndexOf(const TCommand* command) const;

  // Parses a page file. A version above 110 leaves the page empty; below 103 raises
  // PageTooOldError; a type outside the table raises "不正なコマンド"; truncated or lying data
  // raises FormatError naming the page.
  void Parse(ByteSpan bytes, std::string name);
  // Reads the page through the file manager (its errors propagate) and parses it.
  void LoadPage(TVrFileManager& files, std::string name);
  // The page file, at this page's Version.
  Bytes Write() const;
  // Makes the stored property-set block the 61 sets of 21 bytes the page holds now.
  void StorePropertySets();
};

}  // namespace kest
