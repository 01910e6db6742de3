#include "core/hash_collection.h"

namespace kest {

std::uint8_t NameHash(std::string_view name) {
  const std::string folded = cp932::LowerCase(name);
  const std::size_t n = folded.size();
  std::size_t hash = n * 16;
  if (n >= 2)
    hash += static_cast<unsigned char>(folded[n - 2]) + static_cast<unsigned char>(folded[0]);
  return static_cast<std::uint8_t>(hash % 256);
}

}  // namespace kest
