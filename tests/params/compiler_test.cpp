#include <gtest/gtest.h>

#include "expression_support.h"
#include "params/build_parser.h"
#include "params/function_table.h"

namespace kest {
namespace {

using testing::ErrorOf;
using testing::Sjis;

// The compiled operations, one line each: "op dest := operands".
std::vector<std::string> Ops(std::string_view utf8_text) {
  TBuildKestParser builder;
  builder.Parse(Sjis(utf8_text));
  std::vector<std::string> lines;
  for (const TBuildOpeData& op : builder.Items()) {
    std::string line = std::string(kOpCodeNames[op.op_code]) + " " + op.dest + " :=";
    for (const std::string& operand : op.operands) line += " " + operand;
    lines.push_back(line);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(Compiler, ReducesByPrecedenceAndFoldsCopiesBetweenTemporaries) {
  EXPECT_EQ(Ops("(a + b) * c"), (Lines{"ocPlus ____1 := a b", "ocMul ____2 := ____1 c", "ocTo ____arg := ____2"}));
  EXPECT_EQ(Ops("a = b + c"), (Lines{"ocPlus ____0 := b c", "ocTo a := ____0"}));
  EXPECT_EQ(Ops("x == 1"), (Lines{"ocEqual ____0 := x 1", "ocTo ____arg := ____0"}));
  EXPECT_EQ(Ops("x = 1 + 2 * 3"), (Lines{"ocMul ____0 := 2 3", "ocPlus ____1 := 1 ____0", "ocTo x := ____1"}));
  EXPECT_EQ(Ops("x = -5"), (Lines{"ocMinus ____0 := 0 5", "ocTo x := ____0"}));
  EXPECT_EQ(Ops("x = 3 * -2"), (Lines{"ocMinus ____0 := 0 2", "ocMul ____1 := 3 ____0", "ocTo x := ____1"}));
  EXPECT_EQ(Ops("x = +4"), (Lines{"ocTo x := 4"}));
  EXPECT_EQ(Ops("a ++ b == c"), (Lines{"ocEqual ____0 := b c", "ocComboStr ____1 := a ____0", "ocTo ____arg := ____1"}));
  EXPECT_EQ(Ops("a <> b"), (Lines{"ocNEqual ____0 := a b", "ocTo ____arg := ____0"}));
  EXPECT_EQ(Ops("x"), (Lines{"ocTo ____arg := x"}));
}

TEST(Compiler, CallsRunInnermostAndLastWrittenFirst) {
  EXPECT_EQ(Ops("f(g(1), h(2))"), (Lines{"ocFunc ____0 := h 2", "ocFunc ____1 := g 1", "ocFunc ____2 := f ____1 ____0",
                                         "ocTo ____arg := ____2"}));
  // Plain names and numbers as arguments make no temporaries; expressions do.
  EXPECT_EQ(Ops("f(a, 1, b + 1)"), (Lines{"ocPlus ____2 := b 1", "ocFunc ____0 := f a 1 ____2", "ocTo ____arg := ____0"}));
  EXPECT_EQ(Ops("f()"), (Lines{"ocFunc ____0 := f", "ocTo ____arg := ____0"}));
  EXPECT_EQ(Ops("f(a,,b,)"), (Lines{"ocFunc ____0 := f a  b", "ocTo ____arg := ____0"}));
  EXPECT_EQ(Ops("f(((a)))"), (Lines{"ocFunc ____0 := f a", "ocTo ____arg := ____0"}));
}

TEST(Compiler, IndexingMakesReferenceTemporaries) {
  EXPECT_EQ(Ops("a[i + 1, 2] = 5"), (Lines{"ocPlus ____2 := i 1", "ocDimTo ____d_0 := a ____2 2", "ocTo ____d_0 := 5"}));
  EXPECT_EQ(Ops("a[b[1]]"), (Lines{"ocDimTo ____d_0 := b 1", "ocDimTo ____d_1 := a ____d_0", "ocTo ____arg := ____d_1"}));
}

TEST(Compiler, StringLiteralsTakeEscapesAndDoubleByteCharactersWhole) {
  EXPECT_EQ(Ops(R"(s = "a\nb")"), (Lines{"ocTo ____0 := \"a\r\nb\"", "ocTo s := ____0"}));
  EXPECT_EQ(Ops(R"(s = "say \"hi\" \\ \x")"), (Lines{R"(ocTo ____0 := "say "hi" \ \x")", "ocTo s := ____0"}));
  // The trail byte of ソ is "\": it must not escape the closing quote.
  EXPECT_EQ(Ops("s = \"ソ\" ++ \"x\""),
            (Lines{Sjis("ocTo ____0 := \"ソ\""), "ocTo ____1 := \"x\"", "ocComboStr ____2 := ____0 ____1", "ocTo s := ____2"}));
  // Trail bytes "[", "]", "^", "|" and "\" inside names are not signs.
  EXPECT_EQ(Ops("表ソー = ゾタポ[1] ^ 票"),
            (Lines{Sjis("ocDimTo ____d_0 := ゾタポ 1"), Sjis("ocXor ____1 := ____d_0 票"), Sjis("ocTo 表ソー := ____1")}));
}

TEST(Compiler, RejectsBadSyntax) {
  const std::string syntax = Sjis("構文エラー");
  const struct {
    const char* text;
    std::string message;
  } cases[] = {
      {"a[1][2]", syntax},   {"a = b = c", syntax},  {"1 2 +", syntax},    {"(a", syntax},
      {"a)", syntax},        {"f(a", syntax},        {"= 3", syntax},      {"* 3", syntax},
      {"a = ", syntax},      {"a[1", syntax},        {"a]", syntax},       {"f(a])", syntax},
      {"a + * b", syntax},   {"()", syntax},
      {"a[]", Sjis("配列の添え字が不正です")},
  };
  for (const auto& c : cases) {
    TBuildKestParser builder;
    EXPECT_EQ(ErrorOf([&] { builder.Parse(c.text); }), c.message) << c.text;
  }
  TBuildKestParser builder;
  EXPECT_NE(ErrorOf([&] { builder.Parse(std::string(kMaxExpressionText + 1, 'a')); }), "(no error)");
  EXPECT_EQ(ErrorOf([&] { builder.Parse(std::string(kMaxExpressionText, 'a')); }), "(no error)");
}

TEST(Serialiser, ClassifiesOperandsAndChecksFunctions) {
  const Bytes record = testing::CompileRecord(R"(x = SetArray(name, 3000000000, x1F, 2.5, TRUE, "s"))");
  auto parser = testing::Load(record);
  ASSERT_EQ(parser->Count(), 3u);
  EXPECT_EQ((*parser)[0].op_code, ocTo);  // the string literal
  const TOpeData& call = (*parser)[1];
  EXPECT_EQ(call.op_code, ocFunc);
  EXPECT_EQ(call.func_index, 21);
  ASSERT_EQ(call.operands.size(), 6u);
  const ParamTypeCode kinds[] = {PT_NONE, PT_FLOAT, PT_INT, PT_FLOAT, PT_BOOL, PT_NONE};
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(call.operands[k]->IsReference() ? PT_NONE : call.operands[k]->ParamType(), kinds[k]) << k;
  }
  EXPECT_EQ(call.operands[1]->AsFloat(), 3000000000.0L);  // does not fit 32 bits: a real
  EXPECT_EQ(call.operands[2]->AsInt(), 31);                // "x1F" reads as integer text
}

TEST(Serialiser, ReportsUnknownFunctionsAndWrongArgumentCounts) {
  const struct {
    const char* text;
    std::string message;
  } cases[] = {
      {"Nope(1)", Sjis("\"Nope\" 関数名がありません")},
      {"length(1)", Sjis("\"length\" 関数名がありません")},  // names are case-sensitive
      {"Length()", Sjis("Length 引数の数が不正です")},
      {"Copy(a, 1, 2, 3)", Sjis("Copy 引数の数が不正です")},
      {"SetArray(a)", Sjis("SetArray 引数の数が不正です")},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { testing::CompileRecord(c.text); }), c.message) << c.text;
  EXPECT_EQ(ErrorOf([&] { testing::CompileRecord("SetArray(a, 1, 2, 3, 4, 5, 6, 7, 8)"); }), "(no error)");
}

TEST(FunctionTable, HasEveryNumberOnceWithItsName) {
  ASSERT_EQ(kFunctions.size(), 142u);
  EXPECT_EQ(FindFunction("Calc")->number, 136);
  EXPECT_EQ(FindFunction("GetVisible")->number, 140);
  EXPECT_EQ(FindFunction("DBInsert")->max_args, -1);
  EXPECT_EQ(FindFunction("StrToFloatDef")->result, PT_FLOAT);
  for (const FunctionInfo& function : kFunctions) EXPECT_EQ(FindFunction(function.name), &function);
}

}  // namespace
}  // namespace kest
