#pragma once
// What the file manager needs of an install file ("install.dat") to recognise a disk: which disk
// of the set it lies on and which title it belongs to. The file starts with an optional "is" +
// three version digits, then int32 DiskIndex and LString InstallId; the rest belongs to the
// installer and is not read here.

#include <cstdint>
#include <optional>
#include <string>

#include "core/byte_reader.h"

namespace kest {

struct InstallIdentity {
  std::int32_t disk_index = 0;
  std::string install_id;  // equals the project title of the title on that disk
};

// Raises FormatError when the bytes end too early.
InstallIdentity ReadInstallIdentity(ByteSpan bytes, const std::string& source);

}  // namespace kest
