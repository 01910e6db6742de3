#include <gtest/gtest.h>

#include "expression_support.h"

namespace kest {
namespace {

using testing::CompileRecord;
using testing::Load;

Bytes Resaved(const TKestParser& parser) {
  ByteWriter out;
  parser.SaveToStream(out);
  return out.Take();
}

TEST(ExpressionRecord, EveryKindRoundTripsByteForByte) {
  // Integer, real, flag, string and variable operands; copies, arithmetic, comparisons,
  // indexing and calls.
  const Bytes record = CompileRecord(
      R"(x[i, 2] = IntToStr(Max(1, n) + 2.5) ++ "表\n" ++ (TRUE == f) ++ Copy(s, 1) ++ (a <> b) ++ (c >> 1))");
  auto parser = Load(record);
  EXPECT_EQ(Resaved(*parser), record);
  TKestParser copy;
  copy.Assign(*parser);
  EXPECT_EQ(Resaved(copy), record);

  // The layout of one small record, byte by byte.
  const Bytes small = CompileRecord("y = Length(12)");
  ByteWriter expected;
  expected.I32(2);
  expected.U8(ocFunc);
  expected.LString("____0");
  expected.I32(1);
  expected.U8(5);  // Length
  expected.U8(PT_INT);
  expected.I32(12);
  expected.U8(ocTo);
  expected.LString("y");
  expected.I32(1);
  expected.U8(PT_NONE);
  expected.LString("____0");
  EXPECT_EQ(small, expected.Data());
}

TEST(ExpressionRecord, AnyKindByteOtherThanALiteralNamesAVariable) {
  ByteWriter out;
  out.I32(1);
  out.U8(ocTo);
  out.LString("____arg");
  out.I32(1);
  out.U8(9);  // not a literal kind
  out.LString("v");
  auto parser = Load(out.Data());
  ASSERT_TRUE((*parser)[0].operands[0]->IsReference());
  testing::Engine e;
  e.Var("v", PT_INT).SetInt(4);
  parser->Execute(e.store, e.functions);
  EXPECT_EQ(parser->Result()->AsInt(), 4);
}

TEST(ExpressionRecord, BadRecordsAreFormatErrorsAndLeaveTheParserEmpty) {
  const Bytes good = CompileRecord("x = IntToStr(a + 1) ++ \"z\"");
  for (std::size_t length = 0; length < good.size(); ++length) {
    TKestParser parser;
    ByteReader in(ByteSpan(good.data(), length), "page");
    EXPECT_THROW(parser.LoadFromStream(in), FormatError) << length;
    EXPECT_EQ(parser.Count(), 0u);
  }
  ByteWriter past_table;
  past_table.I32(1);
  past_table.U8(ocFunc);
  past_table.LString("____0");
  past_table.I32(0);
  past_table.U8(142);
  TKestParser parser;
  ByteReader in(past_table.Data(), "page");
  EXPECT_THROW(parser.LoadFromStream(in), FormatError);

  // A stored call whose argument count is outside the function's range.
  ByteWriter no_arguments;
  no_arguments.I32(1);
  no_arguments.U8(ocFunc);
  no_arguments.LString("____0");
  no_arguments.I32(0);
  no_arguments.U8(5);  // Length takes one argument
  ByteReader no_arguments_in(no_arguments.Data(), "page");
  EXPECT_THROW(parser.LoadFromStream(no_arguments_in), FormatError);

  ByteWriter huge;
  huge.I32(0x7FFFFFFF);
  ByteReader huge_in(huge.Data(), "page");
  EXPECT_THROW(parser.LoadFromStream(huge_in), FormatError);
}

TEST(ExpressionRecord, OperationsThatCompiledDataNeverHoldFailAtRunTime) {
  const auto run = [](std::uint8_t code, std::int32_t operands) {
    ByteWriter out;
    out.I32(1);
    out.U8(code);
    out.LString("____arg");
    out.I32(operands);
    for (std::int32_t k = 0; k < operands; ++k) {
      out.U8(PT_INT);
      out.I32(1);
    }
    auto parser = Load(out.Data());
    testing::Engine e;
    parser->Execute(e.store, e.functions);
    EXPECT_EQ(parser->Result(), nullptr);
    return parser->LastError();
  };
  EXPECT_EQ(run(0, 1).substr(0, testing::Sjis("不正な式").size()), testing::Sjis("不正な式"));
  EXPECT_EQ(run(21, 2).substr(0, testing::Sjis("不正な式").size()), testing::Sjis("不正な式"));
  EXPECT_FALSE(run(ocPlus, 1).empty());  // an operand missing
  EXPECT_FALSE(run(ocTo, 0).empty());
}

}  // namespace
}  // namespace kest
