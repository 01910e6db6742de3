// Character codes to the Unicode characters their glyphs are drawn from.

#include <gtest/gtest.h>

#include "render/glyphs/glyph_codes.h"

namespace kest {
namespace {

TEST(GlyphCodes, CodesMapThroughCp932AndTheBackslashByteDrawsTheYenSign) {
  const struct {
    std::uint16_t code;
    std::optional<char32_t> character;
  } cases[] = {
      {0x41, U'A'},          {0x20, U' '},           {0x5C, U'\u00A5'},      {0xB1, U'\uFF71'},  // ｱ
      {0x82A0, U'\u3042'},   {0x8140, U'\u3000'},    {0x889F, U'\u4E9C'},    {0xFA40, U'\u2170'},  // あ, 　, 亜, ⅰ
      {0x80, std::nullopt},  {0xA0, std::nullopt},   {0xFD, std::nullopt},   {0x81, std::nullopt},
      {0x4142, std::nullopt}, {0x81FF, std::nullopt}, {0x8120, std::nullopt}, {0xFFFF, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CodeToUnicode(c.code), c.character) << std::hex << c.code;
}

}  // namespace
}  // namespace kest
