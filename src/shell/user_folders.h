#pragma once
// The user's own folders by the XDG base-directory rules: the variable when it holds an absolute
// path, else the default below $HOME; nothing when neither is set.

#include <filesystem>
#include <optional>

namespace kest::shell {

// For example UserFolder("XDG_CONFIG_HOME", ".config") is ~/.config by default.
std::optional<std::filesystem::path> UserFolder(const char* variable, const char* below_home);

}  // namespace kest::shell
