#include <gtest/gtest.h>

#include <cmath>

#include "params/conversions.h"

namespace kest {
namespace {

TEST(RealText, GeneralFormatOfFifteenDigits) {
  const struct {
    long double value;
    const char* text;
  } cases[] = {
      {3.0L, "3"},
      {0.1L, "0.1"},
      {1.0L / 3, "0.333333333333333"},
      {1e20L, "1E20"},
      {1.5e-7L, "1.5E-7"},
      {0.5L, "0.5"},
      {-2.25L, "-2.25"},
      {0.0L, "0"},
      {-0.0L, "0"},
      {0.00001L, "0.00001"},           // the smallest magnitude in plain notation
      {0.000001L, "1E-6"},
      {123456789012345.0L, "123456789012345"},  // 15 integer digits stay plain
      {1234567890123456.0L, "1.23456789012346E15"},
      {2.0L / 3, "0.666666666666667"},  // rounded at the 15th digit
      {-1e-10L, "-1E-10"},
      {3000000000.0L, "3000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToText(c.value), c.text) << static_cast<double>(c.value);
  EXPECT_EQ(FloatToText(std::nanl("")), "NAN");
  EXPECT_EQ(FloatToText(-INFINITY), "-INF");
}

TEST(IntegerText, AcceptsOnlyTheWholeText) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {" 12", 12},          {"12 ", std::nullopt}, {"$1F", 31},           {"x1F", 31},
      {"X1f", 31},          {"0x1F", 31},          {"0X1F", 31},          {"-12", -12},
      {"+7", 7},            {"-$10", -16},         {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},                  {"2147483648", std::nullopt},
      {"$FFFFFFFF", -1},    {"$100000000", std::nullopt},                 {"abc", std::nullopt},
      {"", std::nullopt},   {"-", std::nullopt},   {"$", std::nullopt},   {"1.5", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIntText(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(ToInt(std::string("12 ")), 0);
  EXPECT_EQ(ToInt(std::string("letters")), 0);
}

TEST(RealText, AcceptsBlanksAtBothEndsAndAnExponent) {
  const struct {
    const char* text;
    std::optional<long double> value;
  } cases[] = {
      {" 1.5 ", 1.5L}, {"-2e3", -2000.0L}, {"1E+2", 100.0L}, {".5", 0.5L},   {"5.", 5.0L},
      {"1e", std::nullopt}, {"e5", std::nullopt}, {"1.5x", std::nullopt}, {"", std::nullopt},
      {"0x10", std::nullopt}, {"inf", std::nullopt}, {"1e99999", std::nullopt}, {"$1F", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFloatText(c.text), c.value) << '"' << c.text << '"';
}

TEST(Conversions, FollowTheTable) {
  EXPECT_EQ(ToInt(2.9L), 2);
  EXPECT_EQ(ToInt(-2.9L), -2);
  EXPECT_EQ(ToInt(3000000000.0L), -1294967296);  // low 32 bits of the 64-bit truncation
  EXPECT_EQ(ToInt(std::nanl("")), 0);
  EXPECT_EQ(ToInt(1e30L), 0);                    // beyond 64 bits: never an undefined cast
  EXPECT_EQ(ToStr(true), "TRUE");
  EXPECT_EQ(ToStr(false), "FALSE");
  EXPECT_TRUE(ToBool(std::string("TRUE")));
  EXPECT_FALSE(ToBool(std::string("True")));
  EXPECT_FALSE(ToBool(std::string("1")));
  EXPECT_EQ(ToStr(-5), "-5");
  EXPECT_EQ(ToFloat(std::string(" 2.5 ")), 2.5L);
  EXPECT_EQ(ToFloat(std::string("two")), 0.0L);
}

}  // namespace
}  // namespace kest
