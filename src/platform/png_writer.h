#pragma once
// Screenshots as PNG files: 8-bit RGB, the X byte of each pixel dropped. The bytes depend only on
// the pixels, so two runs that show the same picture write the same file.

#include <string>

#include "core/byte_reader.h"
#include "platform/platform.h"

namespace kest::platform {

// Throws PlatformError when the surface is empty or the encoder fails.
Bytes EncodePng(const SurfaceView& surface);

// Writes the PNG atomically (a temporary file renamed over `path`); throws KestError saying why
// when it cannot.
void WritePngFile(const std::string& path, const SurfaceView& surface);

}  // namespace kest::platform
