#include "params/conversions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kest {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIntText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::uint64_t magnitude = 0;
  // Hexadecimal text is a 32-bit pattern; decimal text must fit the signed range.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < text.size(); ++i) {
    const int digit = hex ? HexDigit(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  const auto pattern = static_cast<std::uint32_t>(magnitude);
  return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
}

std::optional<long double> ParseFloatText(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  const std::string_view body = text.substr(begin, end - begin);
  std::size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < body.size() && IsDigit(body[i])) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && IsDigit(body[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    std::size_t exponent_digits = 0;
    while (i < body.size() && IsDigit(body[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  // The text is now known to be plain decimal, which strtold reads the same in every locale
  // that uses "." (the C locale; the player never changes it).
  const std::string copy(body);
  errno = 0;
  const long double value = std::strtold(copy.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string IntToText(std::int32_t value) { return std::to_string(value); }

std::string FloatToText(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  // 15 significant digits, rounded once: d.dddddddddddddde±x.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14Le", value);
  std::string text(buffer);
  const bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result = negative ? "-" : "";
  if (exponent >= -5 && exponent <= 14) {
    if (exponent >= 0) {
      const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= integer_digits) {
        result += digits + std::string(integer_digits - digits.size(), '0');
      } else {
        result.append(digits, 0, integer_digits).append(".").append(digits, integer_digits);
      }
    } else {
      result.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    }
    return result;
  }
  result.append(digits, 0, 1);
  if (digits.size() > 1) result.append(".").append(digits, 1);
  result += "E";
  if (exponent < 0) result += "-";
  result += std::to_string(std::abs(exponent));
  return result;
}

}  // namespace kest
