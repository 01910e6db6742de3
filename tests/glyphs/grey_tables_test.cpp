// The levels' grey tables and the conversion of exact coverage into them.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "render/glyphs/grey_tables.h"

namespace kest {
namespace {

TEST(GreyTables, EachLevelRunsFromEmptyToFullOverItsGreyValues) {
  const struct {
    int level;
    std::size_t size;
  } cases[] = {{0, 2}, {1, 5}, {2, 17}, {3, 65}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    const auto table = GreyTable(c.level);
    ASSERT_EQ(table.size(), c.size);
    EXPECT_EQ(table.size(), static_cast<std::size_t>(GreyMax(c.level)) + 1);
    EXPECT_EQ(table.front(), 0);
    EXPECT_EQ(table.back(), 255);
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
  }
}

// Between their jumps the ramps step evenly (12 at level 2, 3 at level 3); a mistyped value
// breaks a step or moves a jump.
TEST(GreyTables, RampsStepEvenlyBetweenTheirJumps) {
  const struct {
    int level;
    int step;
    std::set<std::size_t> jumps;  // indices whose step is not the even one
  } cases[] = {{1, 0, {1, 2, 3, 4}}, {2, 12, {1, 8}}, {3, 3, {1, 8, 24, 40}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    const auto table = GreyTable(c.level);
    for (std::size_t i = 1; i < table.size(); ++i) {
      if (c.jumps.count(i)) {
        EXPECT_NE(table[i] - table[i - 1], c.step) << "at " << i;
      } else {
        EXPECT_EQ(table[i] - table[i - 1], c.step) << "at " << i;
      }
    }
  }
  EXPECT_EQ(GreyTable(2)[1], 43);
  EXPECT_EQ(GreyTable(2)[8], 159);
  EXPECT_EQ(GreyTable(3)[1], 18);
  EXPECT_EQ(GreyTable(3)[8], 55);
  EXPECT_EQ(GreyTable(3)[24], 119);
  EXPECT_EQ(GreyTable(3)[40], 183);
  const auto level1 = GreyTable(1);
  EXPECT_EQ(std::vector<std::uint8_t>(level1.begin(), level1.end()), (std::vector<std::uint8_t>{0, 79, 127, 207, 255}));
}

TEST(GreyTables, CoverageRoundsToTheNearestGreyValue) {
  const struct {
    std::uint8_t coverage;
    int level;
    std::uint8_t shown;
  } cases[] = {
      {128, 3, 143}, {128, 2, 159}, {128, 1, 127}, {128, 0, 255}, {127, 0, 0},
      {0, 3, 0},     {255, 3, 255}, {0, 1, 0},     {255, 1, 255}, {255, 0, 255},
      {1, 3, 0},     {2, 3, 18},    {95, 1, 79},   {96, 1, 127},  {31, 1, 0},   {32, 1, 79},
      {128, 7, 143}, {128, -1, 255},  // levels outside 0..3 are the nearest level
  };
  for (const auto& c : cases)
    EXPECT_EQ(QuantizeCoverage(c.coverage, c.level), c.shown) << int(c.coverage) << " at level " << c.level;
}

}  // namespace
}  // namespace kest
