#pragma once
// Bytes the program carries in place of the resources a Windows executable would hold: an
// archive appended as resource "DUMMY" of type "BINTYPE", the start-up logo "MADEWITH" of type
// "DATA". The program registers them at start; the file manager mounts them by name.

#include <optional>
#include <string_view>

#include "core/byte_reader.h"

namespace kest {

// The bytes must stay valid for the life of the process.
void RegisterResource(std::string_view type, std::string_view name, ByteSpan bytes);
std::optional<ByteSpan> FindResource(std::string_view type, std::string_view name);

}  // namespace kest
