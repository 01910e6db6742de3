#include <gtest/gtest.h>

#include "params/param_collection.h"
#include "params/param_values.h"
#include "params/param_var.h"
#include "test_support.h"

namespace kest {
namespace {

using testing::ErrorOf;
using testing::Sjis;

TEST(Store, StartsWithTheSystemVariablesInTableOrder) {
  TParamCollection store;
  ASSERT_EQ(store.Count(), 49u);
  EXPECT_EQ(store[0].Name(), "@Result");
  EXPECT_EQ(store[5].Name(), "@MouseX");
  EXPECT_EQ(store[48].Name(), "@WheelUp");
  for (std::size_t i = 0; i < store.Count(); ++i) {
    const auto& value = dynamic_cast<const TParamSystem&>(store[i].Value());
    EXPECT_EQ(value.SysIndex(), i);
    EXPECT_EQ(store[i].owner_depth, -1);
  }
  EXPECT_EQ(store.Find("@mousex"), &store[5]);
}

TEST(Store, NamesAreCheckedWhenAVariableIsMade) {
  TParamCollection store;
  EXPECT_EQ(ErrorOf([&] { store.AddParam("1st", PT_INT); }), Sjis("\"1st\"：変数名が不正です"));
  EXPECT_EQ(ErrorOf([&] { store.AddParam("a b", PT_INT); }), Sjis("\"a b\"：変数名が不正です"));
  EXPECT_EQ(ErrorOf([&] { store.AddParam("", PT_INT); }), Sjis("\"\"：変数名が不正です"));
  EXPECT_EQ(ErrorOf([&] { store.AddParam("x", 9); }), Sjis("x:不正な変数です"));
  store.AddParam("@mine", PT_INT);
  store.AddParam(Sjis("表示"), PT_STR);
  store.AddParam("a1", PT_BOOL);
  EXPECT_EQ(store.Count(), 52u);
  EXPECT_NE(store.Find(Sjis("表示")), nullptr);
}

TEST(Store, FindPrefersALocalOfTheCurrentDepthElseTheOldestNonLocal) {
  TParamCollection store;
  store.SetCurrentDepth(0);
  TParamCollectionItem& global = store.Declare("n", PT_INT, ParamScope::Global, nullptr);
  TParamCollectionItem& newer = store.AddParam("N", PT_INT);  // a later non-local of the same name
  store.SetCurrentDepth(2);
  TParamCollectionItem& local = store.Declare("n", PT_INT, ParamScope::Local, nullptr);
  EXPECT_NE(&local, &global);
  EXPECT_TRUE(local.is_local);
  EXPECT_EQ(local.owner_depth, 2);

  EXPECT_EQ(store.Find("N"), &local);
  store.SetCurrentDepth(1);
  EXPECT_EQ(store.Find("n"), &global);  // the oldest of the non-locals, not `newer`
  store.SetCurrentDepth(3);
  EXPECT_EQ(store.Find("n"), &global);
  EXPECT_EQ(store.FindDeclared("n", TParamCollection::DeclaredAs::NonLocal), &newer);

  store.SetCurrentDepth(2);
  store.FreeOwned(2);
  EXPECT_EQ(store.Find("n"), &global);
  EXPECT_EQ(store.Count(), 51u);
}

TEST(Store, FreeOwnedLeavesGlobalStatusAndSystemVariables) {
  TParamCollection store;
  store.SetCurrentDepth(1);
  store.Declare("auto", PT_INT, ParamScope::AutoDestroy, nullptr);
  store.Declare("status", PT_INT, ParamScope::Status, nullptr);
  store.Declare("global", PT_INT, ParamScope::Global, nullptr);
  EXPECT_EQ(store.Find("auto")->owner_depth, 1);
  EXPECT_EQ(store.Find("status")->owner_depth, -1);
  store.FreeOwned(1);
  EXPECT_EQ(store.Find("auto"), nullptr);
  store.FreeOwned(-1);  // the depth of globals: still nothing but owned variables goes
  EXPECT_NE(store.Find("status"), nullptr);
  EXPECT_NE(store.Find("global"), nullptr);
  EXPECT_EQ(store.Count(), 51u);
}

TEST(Store, DeclareConvertsIntoAnExistingVariableAndNeverReinitialisesStatus) {
  TParamCollection store;
  EXPECT_EQ(ErrorOf([&] { store.Declare("", PT_INT, ParamScope::Global, nullptr); }), Sjis("変数名がありません"));

  TParamInt five;
  five.SetInt(5);
  TParamCollectionItem& text = store.Declare("s", PT_STR, ParamScope::Global, nullptr);
  EXPECT_EQ(text.Value().AsStr(), "");  // no initial value: the default element
  store.Declare("s", PT_INT, ParamScope::Global, &five);
  EXPECT_EQ(text.Value().ParamType(), PT_STR);  // keeps its class
  EXPECT_EQ(text.Value().AsStr(), "5");

  TParamFloat real;
  real.SetFloat(2.75L);
  TParamCollectionItem& flag = store.Declare("f", PT_BOOL, ParamScope::Global, &real);
  EXPECT_TRUE(flag.Value().AsBool());

  TParamCollectionItem& status = store.Declare("st", PT_INT, ParamScope::Status, &five);
  EXPECT_TRUE(status.is_status);
  TParamInt seven;
  seven.SetInt(7);
  EXPECT_EQ(&store.Declare("st", PT_INT, ParamScope::Status, &seven), &status);
  EXPECT_EQ(status.Value().AsInt(), 5);
}

TEST(Store, CopyValueIsDetached) {
  TParamCollection store;
  TParamCollectionItem& a = store.AddParam("a", PT_INT);
  const std::int32_t sizes[] = {3};
  a.Value().SetDims(sizes);
  a.Value().SetIntAt(2, 4);
  std::unique_ptr<TCustomParam> copy = store.CopyValue("A");
  ASSERT_NE(copy, nullptr);
  a.Value().SetIntAt(2, 0);
  EXPECT_EQ(copy->GetIntAt(2), 4);
  EXPECT_EQ(copy->Count(), 3);
  EXPECT_EQ(store.CopyValue("missing"), nullptr);
  store.AddParam("ref", PT_NONE);
  EXPECT_EQ(ErrorOf([&] { store.CopyValue("ref"); }), Sjis("ref:不正な変数です"));
  store.Values().text_delay = 30;
  EXPECT_EQ(store.CopyValue("@TextDelay")->AsInt(), 30);
}

TEST(Store, VarDelFreesAVariableButNeverASystemOne) {
  TParamCollection store;
  TParamCollectionItem& a = store.AddParam("a", PT_INT);
  a.Value().SetInt(3);
  auto& ref = dynamic_cast<TParamVar&>(store.AddParam("r", PT_NONE).Value());
  ref.SetTarget(a.Anchor());
  EXPECT_EQ(ref.AsInt(), 3);
  EXPECT_TRUE(store.VarDel("A"));
  EXPECT_EQ(store.Find("a"), nullptr);
  EXPECT_EQ(ref.Target(), nullptr);  // no dangling reference
  EXPECT_EQ(ref.AsInt(), 0);
  EXPECT_FALSE(store.VarDel("@MouseX"));
  EXPECT_FALSE(store.VarDel("missing"));
  EXPECT_EQ(store.Count(), 50u);
}

TEST(Store, ClearMainKeepsSystemAndStatusVariablesAndSomePlayerValues) {
  TParamCollection store;
  store.Declare("g", PT_INT, ParamScope::Global, nullptr);
  store.Declare("s", PT_INT, ParamScope::Status, nullptr);
  store.SetCurrentDepth(1);
  store.Declare("l", PT_INT, ParamScope::Local, nullptr);
  store.Values().text_delay = 10;
  store.Values().cursor_name = "c.cur";
  store.Values().history_layout = {1, 2, 3, 4, 5, 6};
  store.Values().sel_str = "sel";
  store.Values().sel_index = 4;
  store.Values().temp_name = "s";
  store.ClearMain();
  EXPECT_EQ(store.Count(), 50u);
  EXPECT_NE(store.Find("s"), nullptr);
  EXPECT_EQ(store.Find("g"), nullptr);
  EXPECT_EQ(store.Values().text_delay, 50);
  EXPECT_EQ(store.Values().cursor_name, "");
  EXPECT_EQ(store.Values().history_layout, (std::array<std::int32_t, 6>{}));
  EXPECT_EQ(store.Values().sel_str, "sel");
  EXPECT_EQ(store.Values().sel_index, 4);
  EXPECT_EQ(store.Values().temp_name, "s");
}

TEST(Store, FindsEachOfTenThousandVariables) {
  TParamCollection store;
  for (int i = 0; i < 10000; ++i) store.AddParam("var" + std::to_string(i), PT_INT).Value().SetInt(i);
  for (int i = 0; i < 10000; i += 997) {
    const TParamCollectionItem* item = store.Find("VAR" + std::to_string(i));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Value().AsInt(), i);
  }
}

}  // namespace
}  // namespace kest
