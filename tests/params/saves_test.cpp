#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "params/param_collection.h"
#include "params/param_values.h"
#include "params/param_var.h"
#include "test_support.h"

namespace kest {
namespace {

using testing::Sjis;

Bytes MainBlock(const TParamCollection& store, std::int32_t version = kLatestSaveVersion) {
  ByteWriter out;
  store.SaveMain(out, version);
  return out.Take();
}

Bytes StatusBlock(const TParamCollection& store) {
  ByteWriter out;
  store.SaveStatus(out);
  return out.Take();
}

// A store with one variable of every kind and scope, and player values that differ from the
// defaults.
void Fill(TParamCollection& store) {
  const std::int32_t sizes[] = {2, 3};
  TParamCollectionItem& a = store.Declare("a", PT_INT, ParamScope::Global, nullptr);
  a.Value().SetDims(sizes);
  a.Value().SetIntAt(5, -9);
  store.Declare("f", PT_FLOAT, ParamScope::Global, nullptr).Value().SetFloat(1.0L / 3);
  store.Declare("b", PT_BOOL, ParamScope::Global, nullptr).Value().SetBool(true);
  store.SetCurrentDepth(2);
  store.Declare(Sjis("表示"), PT_STR, ParamScope::Local, nullptr).Value().SetStr(Sjis("ソース\\"));
  store.Declare("auto", PT_STR, ParamScope::AutoDestroy, nullptr).Value().SetStr("x");
  store.SetCurrentDepth(0);
  auto& ref = dynamic_cast<TParamVar&>(store.AddParam("r", PT_NONE).Value());
  ref.SetTarget(a.Anchor());
  ref.SetElementIndex(5);
  store.Find("b")->spare_byte = 7;
  store.Declare("kept", PT_INT, ParamScope::Status, nullptr).Value().SetInt(11);
  store.Values() = PlayerValues{25, "arrow.cur", "choice", 3, {1, 2, 3, 4, 5, 6}, "a"};
}

TEST(MainBlock, RoundTripsEveryVariableAndThePlayerValues) {
  TParamCollection store;
  Fill(store);
  const Bytes saved = MainBlock(store);

  TParamCollection loaded;
  loaded.Declare("old", PT_INT, ParamScope::Global, nullptr);
  loaded.Declare("kept2", PT_INT, ParamScope::Status, nullptr);
  ByteReader in(saved, "save");
  loaded.LoadMain(in, kLatestSaveVersion);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(MainBlock(loaded), saved);

  EXPECT_EQ(loaded.Find("old"), nullptr);        // game variables are replaced
  EXPECT_NE(loaded.Find("kept2"), nullptr);      // status variables stay
  EXPECT_EQ(loaded.Find("kept"), nullptr);       // and the saved one was not in the main block
  const TParamCollectionItem* a = loaded.Find("a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Value().Dims(), (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(a->Value().GetIntAt(5), -9);
  EXPECT_EQ(loaded.Find("f")->Value().AsFloat(), 1.0L / 3);
  EXPECT_EQ(loaded.Find("b")->spare_byte, 7);
  loaded.SetCurrentDepth(2);
  const TParamCollectionItem* local = loaded.Find(Sjis("表示"));
  ASSERT_NE(local, nullptr);
  EXPECT_TRUE(local->is_local);
  EXPECT_EQ(local->owner_depth, 2);
  EXPECT_EQ(local->Value().AsStr(), Sjis("ソース\\"));
  EXPECT_EQ(loaded.Find("auto")->owner_depth, 2);
  // The reference is tied to the loaded "a", not to anything of the old store.
  const auto& ref = dynamic_cast<const TParamVar&>(loaded.Find("r")->Value());
  EXPECT_EQ(ref.Target(), &a->Value());
  EXPECT_EQ(ref.AsInt(), -9);
  EXPECT_EQ(loaded.Values(), store.Values());
}

TEST(MainBlock, WritesRecordsInReverseOrderWithEachReferenceAfterItsTarget) {
  TParamCollection store;
  TParamCollectionItem& target = store.AddParam("target", PT_INT);
  auto& ref = dynamic_cast<TParamVar&>(store.AddParam("ref", PT_NONE).Value());
  ref.SetTarget(target.Anchor());
  store.AddParam("last", PT_INT);
  // A reference to a system variable has no target in the block: it must still be written.
  auto& to_system = dynamic_cast<TParamVar&>(store.AddParam("sys", PT_NONE).Value());
  to_system.SetTarget(store.Find("@MouseX")->Anchor());

  const Bytes saved = MainBlock(store);
  ByteReader in(saved);
  ASSERT_EQ(in.I32(), 4);
  std::vector<std::string> order;
  std::vector<std::uint8_t> types;
  for (int i = 0; i < 4; ++i) {
    types.push_back(in.U8());
    order.push_back(in.LString());
    // Skip the value and the trailing fields.
    in.Skip(4);
    if (types.back() == PT_NONE) {
      in.LString();
      in.LString();
      in.Skip(5);
    } else {
      in.Skip(8);
    }
    in.Skip(7);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"last", "target", "ref", "sys"}));
  EXPECT_EQ(types, (std::vector<std::uint8_t>{PT_INT, PT_INT, PT_NONE, PT_NONE}));
}

TEST(MainBlock, ReferencesThatOnlyPointAtEachOtherStillEnd) {
  TParamCollection store;
  auto& first = dynamic_cast<TParamVar&>(store.AddParam("p", PT_NONE).Value());
  auto& second = dynamic_cast<TParamVar&>(store.AddParam("q", PT_NONE).Value());
  TParamCollectionItem& outside = store.Declare("s", PT_INT, ParamScope::Status, nullptr);
  first.SetTarget(outside.Anchor());
  second.SetTarget(store.Find("p")->Anchor());
  const Bytes saved = MainBlock(store);
  TParamCollection loaded;
  loaded.Declare("s", PT_INT, ParamScope::Status, nullptr);
  ByteReader in(saved);
  loaded.LoadMain(in, kLatestSaveVersion);
  EXPECT_EQ(loaded.Count(), 52u);
  EXPECT_NE(dynamic_cast<const TParamVar&>(loaded.Find("p")->Value()).Target(), nullptr);
}

TEST(MainBlock, VersionGatesDecideWhichPlayerValuesAreStored) {
  TParamCollection store;
  store.Values() = PlayerValues{25, "arrow.cur", "choice", 3, {1, 2, 3, 4, 5, 6}, "tmp"};
  const PlayerValues before{40, "other", "before", 9, {9, 9, 9, 9, 9, 9}, "prev"};
  const struct {
    std::int32_t version;
    std::size_t trailer_bytes;
    PlayerValues expected;
  } cases[] = {
      {100, 4 + 4 + 9, {25, "arrow.cur", "before", 9, {9, 9, 9, 9, 9, 9}, "prev"}},
      {103, 4 + 4 + 9 + 4 + 6 + 4, {25, "arrow.cur", "choice", 3, {9, 9, 9, 9, 9, 9}, "prev"}},
      {113, 4 + 4 + 9 + 4 + 6 + 4 + 24, {25, "arrow.cur", "choice", 3, {1, 2, 3, 4, 5, 6}, "prev"}},
      {121, 4 + 4 + 9 + 4 + 6 + 4 + 24 + 4 + 3, store.Values()},
  };
  for (const auto& c : cases) {
    const Bytes saved = MainBlock(store, c.version);
    EXPECT_EQ(saved.size(), 4 + c.trailer_bytes) << c.version;
    TParamCollection loaded;
    loaded.Values() = before;
    ByteReader in(saved);
    loaded.LoadMain(in, c.version);
    EXPECT_TRUE(in.AtEnd()) << c.version;
    EXPECT_EQ(loaded.Values(), c.expected) << c.version;
    EXPECT_EQ(MainBlock(loaded, c.version), saved) << c.version;
  }
}

TEST(MainBlock, ACorruptBlockLeavesTheStoreAsItWas) {
  TParamCollection source;
  Fill(source);
  const Bytes saved = MainBlock(source);

  TParamCollection store;
  store.Declare("mine", PT_STR, ParamScope::Global, nullptr).Value().SetStr("keep me");
  store.Values().text_delay = 77;
  const Bytes before = MainBlock(store);
  // Every truncation of the block must fail cleanly.
  for (std::size_t length = 0; length < saved.size(); ++length) {
    ByteReader in(ByteSpan(saved.data(), length), "save.dat");
    EXPECT_THROW(store.LoadMain(in, kLatestSaveVersion), FormatError) << length;
  }
  EXPECT_EQ(MainBlock(store), before);
  EXPECT_EQ(store.Count(), 50u);
}

TEST(MainBlock, RejectsUnknownTypesAndBadNamesAndDropsNamelessRecords) {
  const auto block = [](std::uint8_t type, const std::string& name) {
    ByteWriter out;
    out.I32(1);
    out.U8(type);
    out.LString(name);
    out.I32(0);  // scalar
    out.I32(1);
    out.I32(5);
    out.U8(0);
    out.U8(0);
    out.I32(-1);
    out.U8(0);
    out.I32(50);
    out.LString("");
    return out.Take();
  };
  TParamCollection store;
  for (const auto& [type, name] : {std::pair<std::uint8_t, std::string>{9, "x"}, {0x81, "x"}, {1, "9x"}, {1, "a b"}}) {
    const Bytes data = block(type, name);
    ByteReader in(data);
    EXPECT_THROW(store.LoadMain(in, 102), FormatError) << name;
  }
  const Bytes nameless = block(1, "");
  ByteReader in(nameless);
  store.LoadMain(in, 102);
  EXPECT_EQ(store.Count(), 49u);
  const Bytes good = block(1, "ok");
  ByteReader in2(good);
  store.LoadMain(in2, 102);
  EXPECT_EQ(store.Find("ok")->Value().AsInt(), 5);
}

TEST(StatusBlock, RoundTripsAndLoadsWithoutFreeingAnything) {
  TParamCollection store;
  Fill(store);
  store.Declare("flags", PT_BOOL, ParamScope::Status, nullptr).Value().SetDims(std::vector<std::int32_t>{3});
  const Bytes saved = StatusBlock(store);

  TParamCollection loaded;
  loaded.Declare("g", PT_INT, ParamScope::Global, nullptr);
  ByteReader in(saved);
  loaded.LoadStatus(in, 0);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_NE(loaded.Find("g"), nullptr);
  EXPECT_EQ(loaded.Find("kept")->Value().AsInt(), 11);
  EXPECT_TRUE(loaded.Find("kept")->is_status);
  EXPECT_EQ(loaded.Find("flags")->Value().Count(), 3);
  EXPECT_EQ(StatusBlock(loaded), saved);

  // Loading a main block later leaves the status variables alone.
  const Bytes main = MainBlock(store);
  ByteReader main_in(main);
  loaded.LoadMain(main_in, kLatestSaveVersion);
  EXPECT_EQ(StatusBlock(loaded), saved);
}

}  // namespace
}  // namespace kest
