#pragma once
// Writing files below an output folder for names that come from a title: a name never lands
// outside the folder, never goes through a symbolic link, and a file is never written through one.

#include <optional>
#include <string>

#include "core/byte_reader.h"
#include "render/dibx.h"

namespace kest::tool {

// Creates (or truncates) a file and writes all bytes; KestError naming the path on failure.
void WriteNewFile(const std::string& path, const Bytes& bytes);

// Writes a 32-bit picture as an RGB PNG (atomically); KestError naming the path on failure.
void WritePicturePng(const std::string& path, TDIBX& picture);

// The real path below `folder` for a CP932 name with "\" between folders, creating the folders
// on the way; nothing (with the reason in `why`) when the name would leave the folder, pass
// through a symbolic link, or has no UTF-8 form.
std::optional<std::string> PlaceBelow(const std::string& folder, const std::string& name, std::string& why);

}  // namespace kest::tool
