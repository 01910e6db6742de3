#pragma once
// 10-byte extended reals, the stored form of every real value: the x87 80-bit format
// (64-bit significand with an explicit integer bit, 15-bit exponent, sign), little-endian.

#include <array>
#include <cstdint>
#include <limits>

namespace kest {

static_assert(std::numeric_limits<long double>::digits == 64,
              "real values are x87 80-bit extended; this build's long double is not");

using ExtendedBytes = std::array<std::uint8_t, 10>;

long double ExtendedFromBytes(const ExtendedBytes& bytes);
ExtendedBytes ExtendedToBytes(long double value);

}  // namespace kest
