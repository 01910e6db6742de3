#include <gtest/gtest.h>

#include "expression_support.h"
#include "params/param_values.h"

namespace kest {
namespace {

using testing::Engine;
using testing::Sjis;

TEST(Evaluator, TypingFollowsTheFirstOperand) {
  Engine e;
  e.Var("i", PT_INT).SetInt(1);
  e.Var("f", PT_FLOAT);
  e.Var("a", PT_STR).SetStr("12");
  e.Var("b", PT_STR).SetStr("30");
  const struct {
    const char* text;
    const char* result;
  } cases[] = {
      {"i + 2.5", "3"},        // integer arithmetic: 2.5 reads as 2
      {"2.5 + i", "3.5"},      // real arithmetic
      {"a + b", "42"},         // "+" on texts adds them as integers, into a text
      {"a ++ b", "1230"},      // "++" concatenates
      {"a ++ b == a", "12FALSE"},
      {"7 % -2", "1"},
      {"-7 % 2", "-1"},
      {"-7 / 2", "-3"},
      {"1 << 33", "2"},
      {"-1 >> 28", "15"},
      {"1 + 2 * 3", "7"},
      {"(1 + 2) * 3", "9"},
      {"10 - 2 - 3", "5"},
      {"6 & 3 | 8 ^ 1", "11"},  // & before ^ before |
      {"1.0 / 3", "0.333333333333333"},
      {"\"abc\" < \"abd\"", "TRUE"},
      {"\"ab\" < \"abc\"", "TRUE"},
      {"TRUE > FALSE", "TRUE"},
      {"2.5 >= 2.5", "TRUE"},
      {"3 <> 3", "FALSE"},
      {"3000000000 + 0", "3000000000"},
      {"-0.5", "-0.5"},        // a sign before a real literal applies to a real zero
      {"2.0 * -0.5", "-1"},
      {"-5 + 2.5", "-3"},      // before an integer it stays integer arithmetic
  };
  for (const auto& c : cases) EXPECT_EQ(e.Eval(c.text), std::optional<std::string>(c.result)) << c.text;
  EXPECT_EQ(e.EvalRaw("\"\x82\xA0\" > \"z\""), "TRUE");  // bytes compare as unsigned values

  e.Eval("f = 1 + 2.5");
  EXPECT_EQ(e.Get("f").AsFloat(), 3.0L);
  e.Eval("f = 2.5 + 1");
  EXPECT_EQ(e.Get("f").AsFloat(), 3.5L);
}

TEST(Evaluator, IntegerEdgesWrapAndDivisionByZeroFails) {
  Engine e;
  e.Var("m", PT_INT).SetInt(INT32_MIN);
  e.Var("x", PT_INT).SetInt(99);
  EXPECT_EQ(e.Eval("m / -1"), "-2147483648");
  EXPECT_EQ(e.Eval("m % -1"), "0");
  EXPECT_EQ(e.Eval("m - 1"), "2147483647");
  EXPECT_EQ(e.Eval("m * -1"), "-2147483648");
  EXPECT_EQ(e.Eval("1 << -1"), "-2147483648");  // the count is taken & 31
  for (const char* text : {"x = 1 / 0", "x = 5 % 0", "x = 1.0 / 0", "x = 1e4000 * 1e4000", "x = 1.0 * m / 0"}) {
    EXPECT_EQ(e.Eval(text), std::nullopt) << text;
    EXPECT_FALSE(e.last_error.empty()) << text;
    EXPECT_EQ(e.Get("x").AsInt(), 99) << text;
  }
  EXPECT_EQ(e.last_error, Sjis("0で除算しました"));
  EXPECT_EQ(e.Eval("ArcSin(2)"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("浮動小数点演算が不正です"));
}

TEST(Evaluator, ErrorsStopTheRunKeepEarlierEffectsAndLeaveNoResult) {
  Engine e;
  e.Var("s", PT_STR).SetStr("abc");
  EXPECT_EQ(e.Eval("Delete(s, 1, 1) + 1 / 0"), std::nullopt);
  EXPECT_EQ(e.Get("s").AsStr(), "bc");
  EXPECT_EQ(e.Eval("missing > 0"), std::nullopt);  // an undeclared variable: no result, no message
  EXPECT_EQ(e.last_error, Sjis("\"missing\" 変数がありません"));

  // A failed run never leaves the previous run's result behind.
  e.Var("d", PT_INT).SetInt(2);
  auto parser = testing::Load(testing::CompileRecord("10 / d"));
  parser->Execute(e.store, e.functions);
  ASSERT_NE(parser->Result(), nullptr);
  EXPECT_EQ(parser->Result()->AsInt(), 5);
  e.Get("d").SetInt(0);
  parser->Execute(e.store, e.functions);
  EXPECT_EQ(parser->Result(), nullptr);
  e.Get("d").SetInt(5);
  parser->Execute(e.store, e.functions);
  EXPECT_EQ(parser->Result()->AsInt(), 2);
}

TEST(Evaluator, IndexingReadsAndWritesElements) {
  Engine e;
  TCustomParam& a = e.Var("a", PT_INT);
  const std::int32_t sizes[] = {3, 4};
  a.SetDims(sizes);
  e.Var("i", PT_INT).SetInt(1);
  e.Eval("a[i + 1, 2] = 5");
  EXPECT_EQ(a.GetIntAt(2 * 4 + 2), 5);
  e.Eval("a[i, 2] = a[i + 1, 2] + 1");
  EXPECT_EQ(a.GetIntAt(1 * 4 + 2), 6);
  EXPECT_EQ(e.Eval("a[2, 2] * 10"), "50");
  EXPECT_EQ(e.Eval("a[0, 5]"), "0");  // single indexes are not checked on their own: element 5

  EXPECT_EQ(e.Eval("a[1]"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("a[1]\r\n添え字が不正です"));
  EXPECT_EQ(e.Eval("a[2, 4]"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("a[2,4]\r\n要素数を超えています"));
  EXPECT_EQ(e.Eval("a[0, -1]"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("配列の添字が不正です"));

  TCustomParam& x = e.Var("x", PT_STR);
  x.SetStr("only");
  EXPECT_EQ(e.Eval("x[0]"), "only");  // a scalar is an array of one

  // An indexed argument is copied into a temporary first: the function sees the element's value.
  EXPECT_EQ(e.Eval("GetArraySize(a[1, 2])"), "1");
  EXPECT_EQ(e.Eval("IntToStr(a[1, 2])"), "6");
}

TEST(Evaluator, DoubleByteTrailBytesNeverActAsSyntax) {
  Engine e;
  TCustomParam& array = e.Var("ゾタポ", PT_STR);
  const std::int32_t sizes[] = {2};
  array.SetDims(sizes);
  e.Var("表ソー", PT_STR);
  e.Eval("ゾタポ[1] = \"表ソー\\\\\"");
  EXPECT_EQ(array.GetStrAt(1), Sjis("表ソー\\"));
  e.Eval("表ソー = ゾタポ[1] ++ \"ー\"");
  EXPECT_EQ(e.Get("表ソー").AsStr(), Sjis("表ソー\\ー"));
}

TEST(Evaluator, TemporariesArePrivateToEachRun) {
  Engine e;
  e.Var("s", PT_STR);
  e.Var("t", PT_STR);
  // The inner expression's literal temporary has the same name as the outer one holding "abc";
  // shared temporaries would turn s into "zzTRUE".
  e.Eval(R"(s = "abc" ++ Calc("t = \"zz\""))");
  EXPECT_EQ(e.Get("t").AsStr(), "zz");
  EXPECT_EQ(e.Get("s").AsStr(), "abcTRUE");
  EXPECT_EQ(e.store.Find("____0"), nullptr);  // temporaries never enter the store
  EXPECT_EQ(e.Eval("VarExists(\"____0\")"), "FALSE");
  // A store variable with a reserved name is still found as an operand.
  e.Var("____mine", PT_INT).SetInt(4);
  EXPECT_EQ(e.Eval("____mine * 2"), "8");
}

TEST(Evaluator, CalcNestingIsLimited) {
  Engine e;
  e.Var("s", PT_STR).SetStr("Calc(s)");
  EXPECT_EQ(e.Eval("Calc(s)"), "TRUE");  // each level absorbs the failure of the one below
  EXPECT_EQ(e.functions.CalcDepth(), 0);
  e.Var("n", PT_INT);
  e.Var("c", PT_STR).SetStr("n = n + 1 + 0 * Calc(c)");
  e.Eval("Calc(c)");
  // The innermost level fails before its sum; every level above it adds one.
  EXPECT_EQ(e.Get("n").AsInt(), kMaxCalcDepth - 1);
  EXPECT_EQ(e.Eval("Calc(\"x = \")"), std::nullopt);  // a compile error reaches the caller
  EXPECT_EQ(e.last_error, Sjis("構文エラー"));
}

TEST(Evaluator, ReferencesAndSystemVariablesAsOperands) {
  Engine e;
  e.Var("x", PT_INT).SetInt(3);
  EXPECT_EQ(e.Eval("@TextDelay + x"), "53");
  e.Eval("@TextDelay = 20");
  EXPECT_EQ(e.store.Values().text_delay, 20);
  EXPECT_EQ(e.Eval("AssignTemp(\"x\")"), "TRUE");
  e.Eval("@Temp = @Temp * 2");
  EXPECT_EQ(e.Get("x").AsInt(), 6);
  EXPECT_EQ(e.Eval("GetVarType(@Temp)"), "1");
  EXPECT_EQ(e.Eval("@Pi > 3.14"), "TRUE");
}

TEST(Evaluator, APoolOfTemporariesIsReusedWithoutChangingResults) {
  Engine e;
  e.Var("a", PT_STR).SetStr("x");
  auto parser = testing::Load(testing::CompileRecord("a ++ (1 + 2)"));
  for (int run = 0; run < 3; ++run) {
    parser->Execute(e.store, e.functions);
    ASSERT_NE(parser->Result(), nullptr);
    EXPECT_EQ(parser->Result()->AsStr(), "x3");
  }
  // The temporary's type follows the first operand on every run.
  auto typed = testing::Load(testing::CompileRecord("v + 1"));
  TCustomParam& v = e.Var("v", PT_FLOAT);
  v.SetFloat(0.5L);
  typed->Execute(e.store, e.functions);
  EXPECT_EQ(typed->Result()->AsStr(), "1.5");
  e.store.VarDel("v");
  e.Var("v", PT_STR).SetStr("7");
  typed->Execute(e.store, e.functions);
  EXPECT_EQ(typed->Result()->ParamType(), PT_STR);
  EXPECT_EQ(typed->Result()->AsStr(), "8");
}

}  // namespace
}  // namespace kest
