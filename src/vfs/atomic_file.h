#pragma once
// Files the player writes for the user (saves, settings, archives) are replaced atomically:
// the bytes go to a temporary file in the same folder, which is flushed and then renamed over
// the target. A failed write leaves the old file whole and raises KestError saying why.

#include <string>

#include "core/byte_reader.h"

namespace kest {

void WriteFileAtomically(const std::string& path, ByteSpan bytes);

// Writes every byte to an open file descriptor, going on after interrupted and partial writes.
// False on failure, with errno saying why.
bool WriteAllBytes(int fd, ByteSpan bytes);

}  // namespace kest
