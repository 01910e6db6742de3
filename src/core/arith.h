#pragma once
// Script arithmetic on 32-bit integers wraps like the player's machine code did, but without
// undefined behaviour: overflow wraps modulo 2^32, INT_MIN / -1 gives INT_MIN and
// INT_MIN % -1 gives 0, shift counts are taken modulo 32. Division by zero is the caller's
// to report (it is a script error with its own message), so these expect a non-zero divisor.

#include <cmath>
#include <cstdint>
#include <limits>

namespace kest::wrap {

constexpr std::int32_t Add(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Sub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Mul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Neg(std::int32_t a) { return Sub(0, a); }

// Truncating division; `b` must not be 0.
constexpr std::int32_t Div(std::int32_t a, std::int32_t b) {
  if (b == -1) return Neg(a);
  return a / b;
}
// Remainder with the sign of the dividend; `b` must not be 0.
constexpr std::int32_t Mod(std::int32_t a, std::int32_t b) {
  if (b == -1) return 0;
  return a % b;
}

// Shifts are logical on the 32-bit pattern, the count taken modulo 32.
constexpr std::int32_t ShiftLeft(std::int32_t a, std::int32_t count) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) << (count & 31));
}
constexpr std::int32_t ShiftRight(std::int32_t a, std::int32_t count) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) >> (count & 31));
}

}  // namespace kest::wrap

namespace kest {

// The one rounding of the player's rules: to nearest, ties to even.
inline long double RoundHalfEven(long double value) { return std::nearbyintl(value); }

// A real to a 32-bit integer, saturating at the ends of the range; NaN gives 0.
inline std::int32_t SaturateToInt32(long double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (value <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// A real truncated to 64 bits and kept to its low 32 bits, as the player converts script reals
// to integers (3e9 gives -1294967296). Values outside the 64-bit range and NaN give 0.
inline std::int32_t TruncateToLow32(long double value) {
  if (std::isnan(value) || value >= 0x1p63L || value < -0x1p63L) return 0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(value)));
}

}  // namespace kest
