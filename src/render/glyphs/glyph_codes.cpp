#include "render/glyphs/glyph_codes.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest {

std::int32_t FontEm(std::int32_t height) {
  const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(height));
  if (magnitude == 0) return kDefaultFontEm;
  return static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, kMaxFontEm));
}

namespace {

// The one code point of a UTF-8 text of one character, or nothing when it holds more or less.
std::optional<char32_t> SingleCodePoint(const std::string& utf8) {
  if (utf8.empty()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(utf8[0]);
  std::size_t length = 1;
  char32_t value = lead;
  if (lead >= 0xF0) {
    length = 4;
    value = lead & 0x07;
  } else if (lead >= 0xE0) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xC0) {
    length = 2;
    value = lead & 0x1F;
  }
  if (utf8.size() != length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
  return value;
}

}  // namespace

std::optional<char32_t> CodeToUnicode(std::uint16_t code) {
  if (code == 0x5C) return U'\u00A5';
  std::string bytes;
  if (IsSingleByteCode(code)) {
    // A lone lead byte is half of a character, not one.
    if (cp932::IsLeadByte(static_cast<unsigned char>(code))) return std::nullopt;
    bytes.push_back(static_cast<char>(code));
  } else {
    const auto lead = static_cast<unsigned char>(code >> 8);
    if (!cp932::IsLeadByte(lead)) return std::nullopt;
    bytes.push_back(static_cast<char>(lead));
    bytes.push_back(static_cast<char>(code & 0xFF));
  }
  try {
    return SingleCodePoint(cp932::ToUtf8(bytes));
  } catch (const KestError&) {
    return std::nullopt;
  }
}

}  // namespace kest
