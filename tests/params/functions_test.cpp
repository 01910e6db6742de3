#include <gtest/gtest.h>

#include <numbers>

#include "expression_support.h"
#include "params/param_values.h"

namespace kest {
namespace {

using testing::Engine;
using testing::Sjis;

struct Case {
  const char* text;  // UTF-8
  const char* result;
};

void ExpectResults(Engine& e, std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(e.Eval(c.text), std::optional<std::string>(Sjis(c.result))) << c.text;
}

TEST(StringFunctions, CountBytesOrCharacters) {
  Engine e;
  ExpectResults(e, {
      {R"(IntToStr(-5, 3))", "-005"},
      {R"(IntToStr(42))", "42"},
      {R"(IntToHex(255, 4))", "00FF"},
      {R"(IntToHex(-1, 2))", "FFFFFFFF"},
      {R"(Length("表a"))", "3"},
      {R"(JLength("表a"))", "2"},
      {R"(Copy("abcdef", 0, 3))", "abc"},
      {R"(Copy("abcdef", 3))", "cdef"},
      {R"(Copy("abcdef", 7, 1))", ""},
      {R"(Copy("abcdef", 2, -1))", ""},
      {R"(JCopy("abcdef", 0, 3))", "ab"},
      {R"(JCopy("abcdef", 1, 0))", ""},
      {R"(JCopy("表ソーx", 2, 2))", "ソー"},
      {R"(JCopy("表ソーx", 3))", "ーx"},
      {R"(CompareStr("abc", "abd"))", "-1"},
      {R"(CompareStr("abc", "ab"))", "1"},
      {R"(CompareText("ABC", "abc"))", "0"},
      {R"(Pos("", "abc"))", "0"},
      {R"(Pos("c", "abc"))", "3"},
      {R"(Pos("\\", "表"))", "2"},         // byte-wise: finds the trail byte
      {R"(JPos("\\", "表\\"))", "2"},      // character-wise: only where characters start
      {R"(JPos("x", "表ソ"))", "0"},
      {"Trim(\"\tab \")", "ab"},
      {"Trim(\"　abc\t\")", "　abc"},
      {"JTrim(\"　abc\t\")", "abc\t"},
      {"JTrim(\" 　 \")", ""},
      {R"(LowerCase("AbC表"))", "abc表"},
      {R"(UpperCase("abc"))", "ABC"},
      {R"(StringOfChar("ab", 3))", "ababab"},
      {R"(StringOfChar("ab", 0))", ""},
      {R"(StringReplace("a-b-c", "-", "+"))", "a+b-c"},
      {R"(StringReplace("a-b-c", "-", "+", TRUE))", "a+b+c"},
      {R"(StringReplace("ABab", "ab", "x", TRUE, TRUE))", "xx"},
      {R"(StringReplace("表", "\\", "/", TRUE))", "表"},  // a trail byte is never replaced alone
      {R"(AddDelimiter(",", "a"))", "a,"},
      {R"(AddDelimiter(",", ""))", ""},
      {R"(StrToIntDef("$10", 5))", "16"},
      {R"(StrToIntDef("x y", 5))", "5"},
      {R"(StrToFloatDef(" 1.5 ", 0))", "1.5"},
      {R"(StrToFloatDef("?", 2.5))", "2.5"},
  });
  // FixStr drops a lead byte left dangling at the end.
  EXPECT_EQ(e.EvalRaw("FixStr(\"ab\x82\")"), "ab");
  EXPECT_EQ(e.EvalRaw("FixStr(\"a\x82\xA0\")"), "a\x82\xA0");
  EXPECT_EQ(e.Eval(R"(JPos("", "abc"))"), std::nullopt);
  EXPECT_EQ(e.Eval(R"(StringOfChar("ab", 100000000))"), std::nullopt);  // capped, not gigabytes
}

TEST(StringFunctions, EditVariablesInPlaceButNeverTheCompiledLiterals) {
  Engine e;
  TCustomParam& s = e.Var("s", PT_STR);
  const struct {
    const char* before;
    const char* text;
    const char* after;
  } cases[] = {
      {"abcdef", "Delete(s, 2, 2)", "adef"},
      {"abcdef", "Delete(s, 0, 2)", "abcdef"},
      {"abcdef", "Delete(s, 3)", "ab"},
      {"abcdef", "Delete(s, 9, 1)", "abcdef"},
      {"表ソーx", "JDelete(s, 0, 2)", "ーx"},
      {"表ソーx", "JDelete(s, 5, 1)", "表ソーx"},
      {"abc", "Insert(\"X\", s, 2)", "aXbc"},
      {"abc", "Insert(\"X\", s, 0)", "Xabc"},
      {"abc", "Insert(\"X\", s, 9)", "abcX"},
      {"表ソ", "JInsert(\"X\", s, 2)", "表Xソ"},
      {"表ソ", "JInsert(\"X\", s, 3)", "表ソX"},
  };
  for (const auto& c : cases) {
    s.SetStr(Sjis(c.before));
    e.Eval(c.text);
    EXPECT_EQ(s.AsStr(), Sjis(c.after)) << c.text;
  }
  // A literal argument is changed only in a scratch copy: the next run sees the same literal.
  auto parser = testing::Load(testing::CompileRecord("Delete(56, 1, 1)"));
  parser->Execute(e.store, e.functions);
  parser->Execute(e.store, e.functions);
  EXPECT_EQ((*parser)[0].operands[0]->AsInt(), 56);
}

TEST(NumberFunctions, ComputeInTheirTypes) {
  Engine e;
  ExpectResults(e, {
      {"Not(0)", "TRUE"},
      {"Int(-2.9)", "-2"},
      {"Int(3000000000.0)", "-1294967296"},
      {"Float(3) / 2", "1.5"},
      {"Abs(-4)", "4"},
      {"Fabs(-0.5)", "0.5"},
      {"Min(3, -1)", "-1"},
      {"Max(3, -1)", "3"},
      {"Fmin(0.5, 0.25)", "0.25"},
      {"Fmax(0.5, 0.25)", "0.5"},
      {"Hypot(3, 4)", "5"},
      {"Sin(0)", "0"},
      {"Random(0)", "0"},
  });
  EXPECT_EQ(e.Eval("ArcTan2(1, 0) * 2"), FloatToText(std::numbers::pi_v<long double>));
  // Random follows its own generator: seed * 134775813 + 1, then the upper half of n * seed.
  e.functions.SetRandomSeed(1);
  const std::uint32_t next = 1u * 134775813u + 1u;
  EXPECT_EQ(e.Eval("Random(100)"), std::to_string((100ull * next) >> 32));
  EXPECT_EQ(e.functions.RandomSeed(), next);
}

TEST(FileNameFunctions, TreatBackslashAndColonAsDelimiters) {
  Engine e;
  ExpectResults(e, {
      {R"(ExtractFilePath("c:\\dir\\a.txt"))", "c:\\dir\\"},
      {R"(ExtractFilePath("a.txt"))", ""},
      {R"(ExtractFileName("c:\\dir\\a.txt"))", "a.txt"},
      {R"(ExtractFileName("c:a.txt"))", "a.txt"},
      {R"(ExtractFileExt("dir.x\\a.txt"))", ".txt"},
      {R"(ExtractFileExt("dir.x\\a"))", ""},
      {R"(ExtractFileName("表\\ソ.txt"))", "ソ.txt"},   // 表's trail byte is no delimiter
      {R"(ExtractFilePath("表"))", ""},
      {R"(IsPathDelimiter("a\\", 2))", "TRUE"},
      {R"(IsPathDelimiter("表", 2))", "FALSE"},
      {R"(AddBackSlash("dir"))", "dir\\"},
      {R"(AddBackSlash("dir\\"))", "dir\\"},
      {R"(AddBackSlash("表"))", "表\\"},
      {R"(AddBackSlash(""))", "\\"},
      {R"(ChangeFileExt("a.txt", ".bmp"))", "a.bmp"},
      {R"(ChangeFileExt("a", ".bmp"))", "a.bmp"},
      {R"(IsDelimiter(",;", "a;b", 2))", "TRUE"},
      {R"(IsDelimiter("\\", "表", 2))", "FALSE"},
  });
}

TEST(ArrayFunctions, ShapeFillSplitAndMove) {
  Engine e;
  TCustomParam& a = e.Var("a", PT_INT);
  e.Eval("SetArray(a, 3, 5)");
  ExpectResults(e, {{"GetArraySize(a, 0)", "5"}, {"GetArraySize(a, 1)", "3"}, {"GetArraySize(a)", "15"},
                    {"GetArraySize(a, 7)", "1"}});
  e.Eval("FillMem(a, 7)");
  EXPECT_EQ(a.GetIntAt(14), 7);

  EXPECT_EQ(e.Eval("GetArraySize(3)"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("GetArraySize:変数が見つかりません"));
  EXPECT_EQ(e.Eval("SetArray(a, 3, 0)"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("配列の要素数[3,0]が不正です"));

  TCustomParam& list = e.Var("list", PT_STR);
  e.Eval(R"(StringToArray("a,,b,", list, ","))");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetStrAt(1), "");
  EXPECT_EQ(list.GetStrAt(2), "b");
  e.Eval(R"(StringToArray("x\ny\n", list))");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetStrAt(1), "y");
  e.Eval(R"(StringToArray("", list))");
  EXPECT_TRUE(list.Dims().empty());
  EXPECT_EQ(list.AsStr(), "");
  e.Eval(R"(StringToArray("表ソ,x", list, "\\"))");  // trail bytes equal to "\" do not split
  EXPECT_EQ(list.Count(), 1);

  e.Var("b", PT_STR);
  e.Eval(R"(StringToArray("9,10,x", b, ","))");
  EXPECT_EQ(e.Eval(R"(ArrayToString(b, "/"))"), "9/10/x");
  EXPECT_EQ(e.Eval(R"(IndexOfStr(b, "X"))"), "-1");
  EXPECT_EQ(e.Eval(R"(IndexOfStr(b, "X", FALSE))"), "2");
  EXPECT_EQ(e.Eval(R"(IndexOfStr(b, "0", TRUE, TRUE))"), "1");
  e.Eval("SortStr(b)");
  EXPECT_EQ(e.Eval(R"(ArrayToString(b, "/"))"), "10/9/x");

  TCustomParam& c = e.Var("c", PT_INT);
  e.Eval("SetArray(c, 2)");
  c.SetIntAt(0, 1);
  c.SetIntAt(1, 2);
  EXPECT_EQ(e.Eval("AddArray(c, b)"), "5");
  EXPECT_EQ(c.GetIntAt(2), 10);  // b's texts converted into integers
  EXPECT_EQ(e.Eval("InsertArray(c, 1, c)"), "10");
  EXPECT_EQ(c.GetIntAt(0), 1);
  EXPECT_EQ(c.GetIntAt(6), 2);
  EXPECT_EQ(e.Eval("DeleteArray(c, 1, 5)"), "5");
  EXPECT_EQ(c.GetIntAt(1), 2);
  EXPECT_EQ(e.Eval("DeleteArray(c, 0, -1)"), "5");
  EXPECT_EQ(c.Count(), 5);

  TCustomParam& one = e.Var("one", PT_INT);
  e.Eval("SetArray(one, 1)");
  EXPECT_EQ(e.Eval("DeleteArray(one, 0, 1)"), std::nullopt);
  EXPECT_EQ(one.Count(), 1);
  TCustomParam& grid = e.Var("grid", PT_INT);
  e.Eval("SetArray(grid, 2, 2)");
  EXPECT_EQ(e.Eval("AddArray(grid, c)"), "4");
  EXPECT_EQ(grid.Count(), 4);

  EXPECT_EQ(e.Eval("CopyArray(one, grid)"), "TRUE");
  EXPECT_EQ(one.Dims(), (std::vector<std::int32_t>{2, 2}));
  EXPECT_EQ(e.Eval("CopyMem(one, list)"), std::nullopt);
  EXPECT_EQ(e.last_error, Sjis("CopyMem:変数の型があいません"));
}

TEST(VariableFunctions, ExistenceTypesAndTemp) {
  Engine e;
  e.Var("x", PT_FLOAT);
  ExpectResults(e, {{"VarExists(\"X\")", "TRUE"}, {"VarExists(\"y\")", "FALSE"}, {"GetVarType(x)", "2"},
                    {"GetVarType(\"s\")", "4"}, {"AssignTemp(\"y\")", "FALSE"}, {"AssignTemp(\"x\")", "TRUE"},
                    {"Calc(\"x = 3\")", "TRUE"}, {"Calc(\"undeclared = 3\")", "TRUE"}});
  EXPECT_EQ(e.store.Values().temp_name, "x");
  EXPECT_EQ(e.Get("x").AsFloat(), 3.0L);
  EXPECT_EQ(e.Eval("Calc(\"   \")"), "");  // blank text: nothing runs, the result stays empty
}

TEST(FunctionTable, FunctionsOfOtherSubsystemsSayTheyAreNotAvailable) {
  Engine e;
  // GetProp and SetProp need display objects, which no scene has connected here.
  for (const char* text : {"GetWeek(0)", "Exists(\"a\")", "GetProp(\"a\", 3)", "SetProp(\"a\", 3, 1)", "DBGetInt(\"f\")",
                           "FileExists(\"a\")", "HanToZen(\"a\")"}) {
    EXPECT_EQ(e.Eval(text), std::nullopt) << text;
    EXPECT_NE(e.last_error.find("not available yet"), std::string::npos) << text;
  }
  EXPECT_EQ(e.last_error.substr(0, 9), "HanToZen:");
  EXPECT_TRUE(TSysFuncMan::IsAvailable(136));
  EXPECT_FALSE(TSysFuncMan::IsAvailable(51));
}

}  // namespace
}  // namespace kest
