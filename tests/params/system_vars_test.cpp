#include <gtest/gtest.h>

#include "params/param_collection.h"
#include "params/param_values.h"
#include "test_support.h"

namespace kest {
namespace {

TCustomParam& Sys(TParamCollection& store, std::string_view name) { return store.Find(name)->Value(); }

TEST(SystemVariables, TheStandInAnswersAsAPlayerWithNothingLoaded) {
  TParamCollection store;
  EXPECT_EQ(Sys(store, "@MouseX").AsInt(), 0);
  EXPECT_EQ(Sys(store, "@Sender").AsStr(), "");
  EXPECT_FALSE(Sys(store, "@LClick").AsBool());
  EXPECT_EQ(Sys(store, "@Title").Count(), 1);
  EXPECT_EQ(Sys(store, "@KeyPush").Count(), 258);
  EXPECT_EQ(Sys(store, "@KeyPush").DimSize(0), 258);
  EXPECT_FALSE(Sys(store, "@KeyPush").GetBoolAt(300));
  EXPECT_EQ(Sys(store, "@ParamStr").Count(), 0);
  EXPECT_EQ(Sys(store, "@Result").AsInt(), 0);
  EXPECT_EQ(Sys(store, "@Result").Count(), 1);
  Sys(store, "@MouseX").SetInt(5);  // written to nothing
  EXPECT_EQ(Sys(store, "@MouseX").AsInt(), 0);
  EXPECT_EQ(Sys(store, "@MouseX").ParamType(), PT_INT);
  EXPECT_EQ(Sys(store, "@Fonts").ParamType(), PT_STR);
}

TEST(SystemVariables, StoreValuesAndConstantsAreAnsweredForReal) {
  TParamCollection store;
  TCustomParam& delay = Sys(store, "@TextDelay");
  EXPECT_EQ(delay.AsInt(), 50);
  delay.SetStr("abc");  // not integer text: unchanged
  EXPECT_EQ(delay.AsInt(), 50);
  delay.SetStr("20");
  EXPECT_EQ(store.Values().text_delay, 20);
  delay.SetFloat(7.9L);
  EXPECT_EQ(delay.AsInt(), 7);
  TCustomParam& index = Sys(store, "@SelIndex");
  index.SetInt(4);
  index.SetStrAt(3, "abc");  // a string written at an index takes the element rule: 0
  EXPECT_EQ(store.Values().sel_index, 0);

  TCustomParam& sel = Sys(store, "@SelStr");
  sel.SetStr("1.5");
  EXPECT_EQ(sel.AsFloat(), 0.0L);  // text reads as integer text only
  EXPECT_TRUE(sel.AsBool());       // any non-empty text is true
  sel.SetBool(true);
  EXPECT_EQ(store.Values().sel_str, "TRUE");

  EXPECT_EQ(Sys(store, "@Pi").AsFloat(), 3.14159265358979323846264338327950288L);
  EXPECT_EQ(Sys(store, "@1Hour").AsFloat() * 24, 1.0L);
  Sys(store, "@Pi").SetFloat(3);
  EXPECT_NE(Sys(store, "@Pi").AsFloat(), 3.0L);
}

TEST(SystemVariables, TempFollowsTheNamedVariableAndNeverLoops) {
  TParamCollection store;
  TCustomParam& temp = Sys(store, "@Temp");
  EXPECT_EQ(temp.AsInt(), 0);
  EXPECT_EQ(temp.ParamType(), PT_NONE);
  temp.SetInt(3);  // ignored
  store.Values().temp_name = "x";
  store.Declare("x", PT_STR, ParamScope::Global, nullptr);
  temp.SetInt(3);
  EXPECT_EQ(store.Find("x")->Value().AsStr(), "3");
  EXPECT_EQ(temp.ParamType(), PT_STR);
  // Declared anew, it follows the new variable.
  store.VarDel("x");
  store.Declare("x", PT_INT, ParamScope::Global, nullptr).Value().SetInt(8);
  EXPECT_EQ(temp.AsInt(), 8);
  store.Values().temp_name = "@Temp";  // standing for itself: reads as nothing
  EXPECT_EQ(temp.AsInt(), 0);
  EXPECT_EQ(temp.Count(), 1);
}

TEST(SystemVariables, ANumberOutsideTheTableIsAnInternalError) {
  TParamCollection store;
  TParamSystem bad(store, 49);
  EXPECT_EQ(testing::ErrorOf([&] { bad.AsInt(); }), testing::Sjis("内部エラー"));
}

}  // namespace
}  // namespace kest
