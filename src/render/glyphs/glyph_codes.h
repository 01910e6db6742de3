#pragma once
// Character codes and sizes as glyph engines take them. A code is one byte, or a double-byte
// CP932 character as lead byte * 256 + trail byte.

#include <cstdint>
#include <optional>

#include "render/glyphs/font_pixel.h"

namespace kest {

// The face every unknown or unusable face falls back to: "ＭＳ ゴシック".
inline constexpr const char* kDefaultFaceName = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

// A height of 0 asks for the default size. Ems above the largest are drawn at the largest: a
// glyph of that em already takes about a megabyte of mask, and a title's stray huge height must
// not ask for gigabytes.
inline constexpr std::int32_t kDefaultFontEm = 12;
inline constexpr std::int32_t kMaxFontEm = 1024;

// The em square in pixels of a requested height: |height|, 0 giving the default size, clamped to
// kMaxFontEm. Any int32 (INT_MIN included) is safe.
std::int32_t FontEm(std::int32_t height);

// The Unicode character drawn for a code, or nothing when the code has no CP932 mapping. The
// byte 0x5C is drawn with the yen sign, as Japanese system fonts draw it.
std::optional<char32_t> CodeToUnicode(std::uint16_t code);

// True for codes of one byte, drawn in a half-width cell.
constexpr bool IsSingleByteCode(std::uint16_t code) { return code < 0x100; }

}  // namespace kest
