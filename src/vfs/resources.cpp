#include "vfs/resources.h"

#include <map>
#include <string>
#include <utility>

#include "core/cp932.h"

namespace kest {

namespace {

// Resource names and types are compared without regard to case, as the system compared them.
using ResourceKey = std::pair<std::string, std::string>;

std::map<ResourceKey, ByteSpan>& Registry() {
  static std::map<ResourceKey, ByteSpan> registry;
  return registry;
}

ResourceKey KeyOf(std::string_view type, std::string_view name) {
  return {cp932::UpperCase(type), cp932::UpperCase(name)};
}

}  // namespace

void RegisterResource(std::string_view type, std::string_view name, ByteSpan bytes) {
  Registry()[KeyOf(type, name)] = bytes;
}

std::optional<ByteSpan> FindResource(std::string_view type, std::string_view name) {
  const auto found = Registry().find(KeyOf(type, name));
  if (found == Registry().end()) return std::nullopt;
  return found->second;
}

}  // namespace kest
