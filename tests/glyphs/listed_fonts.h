#pragma once
// A font catalogue given as a list, for tests that choose which families exist.

#include <map>
#include <string>
#include <vector>

#include "platform/font_catalog.h"

namespace kest::testing {

class ListedFonts final : public FontCatalog {
 public:
  explicit ListedFonts(std::map<std::string, FontFile> families) : families_(std::move(families)) {}
  std::vector<std::string> Families() const override {
    std::vector<std::string> names;
    for (const auto& [name, file] : families_) names.push_back(name);
    return names;
  }
  std::optional<FontFile> Find(const std::string& family) const override {
    const auto found = families_.find(family);
    return found == families_.end() ? std::nullopt : std::optional<FontFile>(found->second);
  }

 private:
  std::map<std::string, FontFile> families_;
};

}  // namespace kest::testing
