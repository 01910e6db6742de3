#pragma once
// The one table by which every value converts between integer, extended real, flag and text.
// Conversions never fail: text that does not read as a number gives 0 or 0.0, and only the exact
// text "TRUE" reads as true.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/arith.h"

namespace kest {

// Integer text: optional leading blanks, an optional sign, then decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X", and nothing after them. Decimal values must fit in
// 32 signed bits; hexadecimal ones are 32-bit patterns (up to FFFFFFFF). Anything else: none.
std::optional<std::int32_t> ParseIntText(std::string_view text);

// Real text: optional blanks at both ends, an optional sign, digits with an optional "." fraction
// (at least one digit in all), an optional exponent "E" or "e" with an optional sign and at least
// one digit. A value too large for an extended real is not real text either.
std::optional<long double> ParseFloatText(std::string_view text);

// Decimal text, "-" for negatives.
std::string IntToText(std::int32_t value);

// The general real text: at most 15 significant digits, no trailing zeros or needless point;
// plain notation for 0 and for magnitudes from 0.00001 with at most 15 integer digits, otherwise
// mantissa, "E", "-" only for a negative exponent, and the exponent without leading zeros
// (1E20, 1.5E-7). Non-finite values read "NAN", "INF" and "-INF".
std::string FloatToText(long double value);

inline std::int32_t ToInt(std::int32_t value) { return value; }
inline std::int32_t ToInt(long double value) { return TruncateToLow32(value); }
inline std::int32_t ToInt(bool value) { return value ? 1 : 0; }
inline std::int32_t ToInt(const std::string& value) { return ParseIntText(value).value_or(0); }

inline long double ToFloat(std::int32_t value) { return value; }
inline long double ToFloat(long double value) { return value; }
inline long double ToFloat(bool value) { return value ? 1.0L : 0.0L; }
inline long double ToFloat(const std::string& value) { return ParseFloatText(value).value_or(0.0L); }

inline bool ToBool(std::int32_t value) { return value != 0; }
inline bool ToBool(long double value) { return value != 0.0L; }
inline bool ToBool(bool value) { return value; }
inline bool ToBool(const std::string& value) { return value == "TRUE"; }

inline std::string ToStr(std::int32_t value) { return IntToText(value); }
inline std::string ToStr(long double value) { return FloatToText(value); }
inline std::string ToStr(bool value) { return value ? "TRUE" : "FALSE"; }
inline std::string ToStr(const std::string& value) { return value; }

// Convert<To>(value) for To and the value's type among int32_t, long double, bool, std::string.
template <typename To, typename From>
To Convert(const From& value) {
  if constexpr (std::is_same_v<To, std::int32_t>) return ToInt(value);
  else if constexpr (std::is_same_v<To, long double>) return ToFloat(value);
  else if constexpr (std::is_same_v<To, bool>) return ToBool(value);
  else return ToStr(value);
}

}  // namespace kest
