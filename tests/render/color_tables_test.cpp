#include <gtest/gtest.h>

#include "render/color_tables.h"

namespace kest {
namespace {

TEST(ColorTables, GreysFollowTheScreenDepth) {
  const ColorTables t15 = BuildColorTables(15), t16 = BuildColorTables(16), t32 = BuildColorTables(32);
  EXPECT_EQ(t15.grey16[255], 0x7FFF);
  EXPECT_EQ(t16.grey16[255], 0xFFFF);
  EXPECT_EQ(t16.grey16[8], (1 << 11) | (2 << 5) | 1);
  EXPECT_EQ(t32.grey32[0x80], 0x00808080u);
  EXPECT_EQ(t32.grey16[255], 0xFFFF);  // depths other than 15 use 5-6-5
}

TEST(ColorTables, FireRampPassesItsPointsAndConvertsTo555) {
  const auto& fire = FirePalette32();
  EXPECT_EQ(fire[0], 0u);
  EXPECT_EQ(fire[16], 0x00331301u);
  EXPECT_EQ(fire[128], 0x00DF7509u);
  EXPECT_EQ(fire[255], 0x00FFE6AFu);
  const ColorTables t16 = BuildColorTables(16), t15 = BuildColorTables(15);
  for (int i = 0; i < 256; ++i) {
    const std::uint16_t v = t16.fire16[static_cast<std::size_t>(i)];
    const std::uint16_t expected = static_cast<std::uint16_t>(((v >> 11) << 10) | (((v >> 6) & 0x1F) << 5) | (v & 0x1F));
    ASSERT_EQ(t15.fire16[static_cast<std::size_t>(i)], expected) << i;
  }
  EXPECT_EQ(t16.fire16[255], (31 << 11) | (57 << 5) | 21);
}

TEST(ColorTables, ScreenTablesStartAtDepth15) {
  EXPECT_EQ(ScreenColorTables().depth, 15);
  InitColorTables(32);
  EXPECT_EQ(ScreenColorTables().grey32[1], 0x00010101u);
  EXPECT_EQ(ScreenColorTables().depth, 32);
  InitColorTables(15);
}

}  // namespace
}  // namespace kest
