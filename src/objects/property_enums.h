#pragma once
// The code tables of the enumerated properties, by the names scripts give the codes
// ("HA_CENTER" = 1), and which property reads which table. The kinds ("LT_*") have their own
// table in kinds.h.

#include <cstdint>
#include <span>
#include <string_view>

#include "core/named_code.h"

namespace kest {

struct PropertyEnum {
  std::string_view prefix;  // "HA_"
  std::span<const NamedCode> codes;
  bool flags = false;  // the codes are bits that combine (FS_*)
};

// IM_, HA_, VA_, OT_, PM_, MT_, LP_ and FS_.
std::span<const PropertyEnum> PropertyEnums();

// The table whose codes property `id` holds, or nullptr.
const PropertyEnum* EnumOfProperty(std::size_t id);

// The table by its prefix ("MT_"), or nullptr.
const PropertyEnum* EnumByPrefix(std::string_view prefix);

}  // namespace kest
