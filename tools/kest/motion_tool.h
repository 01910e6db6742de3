#pragma once
// The work of `kest motion info`: a motion file read as the player reads it with resource
// loading suppressed (pictures are not loaded, so a stored length of 0 stays 0), listed with
// every field, and optionally what each track hands its object at given times.

#include <cstdint>
#include <span>
#include <string>

#include "core/byte_reader.h"

namespace kest::tool {

// JSON with `json`, else one "key: value" line per field. KestError or FormatError naming the
// file and the fault when it is not a readable motion file.
std::string DescribeMotion(ByteSpan file, const std::string& name, bool json, std::span<const std::int64_t> at);

}  // namespace kest::tool
