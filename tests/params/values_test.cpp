#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "params/param_values.h"
#include "params/param_var.h"
#include "test_support.h"

namespace kest {
namespace {

using testing::ErrorOf;
using testing::Sjis;

TEST(Values, NewValueIsOneDefaultElementActingAsAnArrayOfOne) {
  TParamInt i;
  TParamFloat f;
  TParamFlag b;
  TParamStr s;
  for (TCustomParam* value : std::initializer_list<TCustomParam*>{&i, &f, &b, &s}) {
    EXPECT_EQ(value->Count(), 1);
    EXPECT_TRUE(value->Dims().empty());
    EXPECT_EQ(value->DimCount(), 1);
    EXPECT_EQ(value->DimSize(0), 1);
    EXPECT_EQ(value->DimSize(5), 1);
    EXPECT_EQ(value->AsInt(), 0);
  }
  EXPECT_EQ(s.AsStr(), "");
  EXPECT_EQ(b.AsStr(), "FALSE");
  EXPECT_EQ(i.ParamType(), PT_INT);
  EXPECT_EQ(f.ParamType(), PT_FLOAT);
  EXPECT_EQ(b.ParamType(), PT_BOOL);
  EXPECT_EQ(s.ParamType(), PT_STR);
}

TEST(Values, ArraysAreRowMajorAndReshapingKeepsTheFlatOrder) {
  TParamInt a;
  const std::int32_t sizes[] = {2, 3};
  a.SetDims(sizes);
  ASSERT_EQ(a.Count(), 6);
  for (std::int32_t k = 0; k < 6; ++k) a.SetIntAt(k, k * 10);
  // [1, 2] over sizes [2, 3] is 2 + 3 * 1.
  EXPECT_EQ(a.GetIntAt(5), 50);
  const std::int32_t reshaped[] = {3, 2};
  a.SetDims(reshaped);
  EXPECT_EQ(a.DimSize(0), 3);
  EXPECT_EQ(a.DimSize(1), 2);
  for (std::int32_t k = 0; k < 6; ++k) EXPECT_EQ(a.GetIntAt(k), k * 10);
  EXPECT_EQ(a.AsInt(), 0);  // a scalar reading of an array reads element 0

  a.SetInt(7);  // assigning a scalar turns the array into a scalar
  EXPECT_EQ(a.Count(), 1);
  EXPECT_TRUE(a.Dims().empty());
  EXPECT_EQ(a.AsInt(), 7);
}

TEST(Values, IndexedAccessIsBounded) {
  TParamStr s;
  const std::int32_t sizes[] = {3};
  s.SetDims(sizes);
  const std::string message = Sjis("配列の添字が不正です");
  EXPECT_EQ(ErrorOf([&] { s.GetIntAt(3); }), message);
  EXPECT_EQ(ErrorOf([&] { s.SetIntAt(-1, 1); }), message);
  EXPECT_EQ(ErrorOf([&] { s.SetStrAt(3, "x"); }), message);
  EXPECT_EQ(ErrorOf([&] { s.GetStrAt(2); }), "(no error)");
}

TEST(Values, BadDimensionsAreRejectedWithoutChangingTheValue) {
  TParamInt a;
  const std::int32_t good[] = {4};
  a.SetDims(good);
  a.SetIntAt(3, 9);
  const std::int32_t zero[] = {3, 0};
  EXPECT_EQ(ErrorOf([&] { a.SetDims(zero); }), Sjis("配列の要素数[3,0]が不正です"));
  EXPECT_EQ(a.Count(), 4);
  EXPECT_EQ(a.Dims(), std::vector<std::int32_t>{4});
  EXPECT_EQ(a.GetIntAt(3), 9);
  // Sizes whose product overflows 32 bits, or exceeds the cap, get the same message.
  const std::int32_t huge[] = {65536, 65536, 2};
  EXPECT_EQ(ErrorOf([&] { a.SetDims(huge); }), Sjis("配列の要素数[65536,65536,2]が不正です"));
  const std::int32_t negative[] = {-1};
  EXPECT_EQ(ErrorOf([&] { a.SetDims(negative); }), Sjis("配列の要素数[-1]が不正です"));
  EXPECT_EQ(a.Count(), 4);
}

TEST(Values, StoringConvertsIntoTheElementType) {
  TParamInt i;
  i.SetFloat(2.9L);
  EXPECT_EQ(i.AsInt(), 2);
  i.SetFloat(-2.9L);
  EXPECT_EQ(i.AsInt(), -2);
  i.SetFloat(3000000000.0L);
  EXPECT_EQ(i.AsInt(), -1294967296);
  i.SetStr("$1F");
  EXPECT_EQ(i.AsInt(), 31);
  i.SetBool(true);
  EXPECT_EQ(i.AsStr(), "1");

  TParamFlag b;
  b.SetStr("true");
  EXPECT_FALSE(b.AsBool());
  b.SetStr("TRUE");
  EXPECT_TRUE(b.AsBool());
  EXPECT_EQ(b.AsStr(), "TRUE");
  b.SetInt(5);  // any true input stores 1
  EXPECT_EQ(b.AsInt(), 1);
  EXPECT_EQ(b.Values()[0], 1);

  TParamStr s;
  s.SetFloat(1.0L / 3);
  EXPECT_EQ(s.AsStr(), "0.333333333333333");
  EXPECT_EQ(s.AsFloat(), 0.333333333333333L);
  s.SetInt(-5);
  EXPECT_EQ(s.AsStr(), "-5");

  TParamFloat f;
  f.SetStr(" 12");
  EXPECT_EQ(f.AsFloat(), 12.0L);
  f.SetStr("12 x");
  EXPECT_EQ(f.AsFloat(), 0.0L);
}

TEST(Values, FillsActOnlyOnTheirOwnElementType) {
  TParamInt i;
  const std::int32_t sizes[] = {3};
  i.SetDims(sizes);
  i.FillStr("5");
  i.FillFloat(2.0L);
  EXPECT_EQ(i.GetIntAt(2), 0);
  i.FillInt(4);
  EXPECT_EQ(i.GetIntAt(0) + i.GetIntAt(1) + i.GetIntAt(2), 12);
}

TEST(Values, CopyMemCopiesShapeAndElementsOfTheSameClassOnly) {
  TParamStr source;
  const std::int32_t sizes[] = {2, 2};
  source.SetDims(sizes);
  source.SetStrAt(3, "last");
  TParamStr target;
  target.CopyMem(source);
  EXPECT_EQ(target.Count(), 4);
  EXPECT_EQ(target.Dims(), (std::vector<std::int32_t>{2, 2}));
  EXPECT_EQ(target.GetStrAt(3), "last");

  TParamStr scalar;
  scalar.SetStr("one");
  target.CopyMem(scalar);  // a scalar source gives one dimension of size 1
  EXPECT_EQ(target.Dims(), std::vector<std::int32_t>{1});
  EXPECT_EQ(target.AsStr(), "one");

  TParamInt other;
  EXPECT_EQ(ErrorOf([&] { target.CopyMem(other); }), Sjis("CopyMem:変数の型があいません"));
  EXPECT_EQ(target.AsStr(), "one");
}

TEST(Values, IndexOfMatchesWholeOrPartOfTheElements) {
  TParamStr s;
  const std::int32_t sizes[] = {3};
  s.SetDims(sizes);
  s.SetStrAt(0, "Apple");
  s.SetStrAt(1, "banana");
  s.SetStrAt(2, Sjis("表ソ"));
  const struct {
    const char* text;
    CaseSensitivity sensitivity;
    MatchMode mode;
    std::int32_t index;
  } cases[] = {
      {"Apple", CaseSensitivity::Sensitive, MatchMode::Whole, 0},
      {"apple", CaseSensitivity::Sensitive, MatchMode::Whole, -1},
      {"APPLE", CaseSensitivity::Insensitive, MatchMode::Whole, 0},
      {"NAN", CaseSensitivity::Insensitive, MatchMode::Partial, 1},
      {"NAN", CaseSensitivity::Sensitive, MatchMode::Partial, -1},
      {"pp", CaseSensitivity::Sensitive, MatchMode::Partial, 0},
      {"", CaseSensitivity::Sensitive, MatchMode::Partial, 0},
      {"x", CaseSensitivity::Insensitive, MatchMode::Partial, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(s.IndexOf(c.text, c.sensitivity, c.mode), c.index) << c.text;
  // The trail byte of ソ is "\": folding must not touch it.
  EXPECT_EQ(s.IndexOf(Sjis("表ソ"), CaseSensitivity::Insensitive, MatchMode::Whole), 2);
}

TEST(Values, AssignConvertedTakesTheShapeThenConvertsEachElement) {
  TParamStr source;
  const std::int32_t sizes[] = {1, 3};
  source.SetDims(sizes);
  source.SetStrAt(0, "12");
  source.SetStrAt(1, "x");
  source.SetStrAt(2, "$10");
  TParamInt target;
  target.AssignConverted(source);
  EXPECT_EQ(target.Dims(), (std::vector<std::int32_t>{1, 3}));
  EXPECT_EQ(target.GetIntAt(0), 12);
  EXPECT_EQ(target.GetIntAt(1), 0);
  EXPECT_EQ(target.GetIntAt(2), 16);
}

template <typename Value>
Bytes Saved(const Value& value) {
  ByteWriter out;
  value.SaveToStream(out);
  return out.Take();
}

TEST(ValueStream, EveryClassRoundTripsByteForByte) {
  TParamInt i;
  const std::int32_t sizes[] = {2, 2};
  i.SetDims(sizes);
  i.SetIntAt(3, -7);
  TParamFloat f;
  f.SetFloat(1.0L / 3);
  TParamFlag b;
  b.SetDims(sizes);
  b.SetBoolAt(1, true);
  TParamStr s;
  s.SetStr(Sjis("表示"));
  TParamVar v("a");
  v.SetElementIndex(3);

  const auto round_trip = [](const TCustomParam& value) {
    ByteWriter out;
    value.SaveToStream(out);
    const Bytes first = out.Take();
    std::unique_ptr<TCustomParam> copy = CreateParam(value.IsReference() ? PT_NONE : value.ParamType());
    ByteReader in(first);
    copy->LoadFromStream(in, TargetLookup{});
    EXPECT_TRUE(in.AtEnd());
    ByteWriter again;
    copy->SaveToStream(again);
    EXPECT_EQ(again.Data(), first);
  };
  for (const TCustomParam* value : std::initializer_list<const TCustomParam*>{&i, &f, &b, &s, &v}) round_trip(*value);

  // The layout itself: dimension count, sizes, element count, elements.
  TParamInt small;
  small.SetInt(5);
  EXPECT_EQ(Saved(small), (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0}));
}

TEST(ValueStream, BadStreamsAreRejectedAndLeaveTheValueAsItWas) {
  const auto bytes = [](std::initializer_list<std::int32_t> ints) {
    ByteWriter out;
    for (const std::int32_t v : ints) out.I32(v);
    return out.Take();
  };
  const Bytes cases[] = {
      bytes({1, 2, 3, 1, 2, 3}),     // element count 3 for sizes [2]
      bytes({1, 0, 0}),              // a size of 0
      bytes({0, 0}),                 // no element at all
      bytes({0, 0x7FFFFFFF}),        // a count far beyond the bytes left
      bytes({-1}),                   // a negative dimension count
      bytes({0x40000000}),           // more dimensions than bytes
      bytes({2, 65536, 65536, 1}),   // sizes beyond the element cap
      bytes({0, 1}),                 // the element is missing
  };
  for (const Bytes& data : cases) {
    TParamInt value;
    value.SetInt(42);
    ByteReader in(data, "case");
    EXPECT_THROW(value.LoadFromStream(in, TargetLookup{}), FormatError);
    EXPECT_EQ(value.AsInt(), 42);
    EXPECT_EQ(value.Count(), 1);
  }
  // A flag byte other than 0 or 1 reads as 1.
  ByteWriter flag;
  flag.I32(0);
  flag.I32(1);
  flag.U8(7);
  TParamFlag b;
  ByteReader in(flag.Data());
  b.LoadFromStream(in, TargetLookup{});
  EXPECT_EQ(b.Values()[0], 1);
}

TEST(References, ForwardElementReadsAndWholeValueOperations) {
  TParamInt array;
  const std::int32_t sizes[] = {4};
  array.SetDims(sizes);
  auto anchor = std::make_shared<TParamAnchor>(TParamAnchor{&array, "a"});
  TParamVar ref;
  ref.SetTarget(anchor);
  ref.SetElementIndex(2);
  ref.SetInt(9);
  EXPECT_EQ(array.GetIntAt(2), 9);
  EXPECT_EQ(ref.AsStr(), "9");
  EXPECT_EQ(ref.GetIntAt(0), 0);
  EXPECT_EQ(ref.Count(), 4);
  EXPECT_EQ(ref.ParamType(), PT_INT);
  ref.FillInt(1);
  EXPECT_EQ(array.GetIntAt(3), 1);
  EXPECT_EQ(ref.TargetName(), "a");

  anchor->value = nullptr;  // the target went away: the reference has none
  EXPECT_EQ(ref.AsInt(), 0);
  EXPECT_EQ(ref.Count(), 0);
  EXPECT_EQ(ref.ParamType(), PT_NONE);
  EXPECT_EQ(ref.IndexOf("", CaseSensitivity::Sensitive, MatchMode::Partial), -1);
  EXPECT_EQ(ref.TargetName(), "");
  ref.SetInt(3);  // ignored
}

TEST(References, ChainsThatLoopBackAreRefused) {
  TParamVar first, second;
  auto first_anchor = std::make_shared<TParamAnchor>(TParamAnchor{&first, "first"});
  auto second_anchor = std::make_shared<TParamAnchor>(TParamAnchor{&second, "second"});
  second.SetTarget(first_anchor);
  first.SetTarget(second_anchor);  // would close a loop
  EXPECT_EQ(first.Target(), nullptr);
  EXPECT_EQ(second.Target(), &first);
  first.SetTarget(first_anchor);  // itself
  EXPECT_EQ(first.Target(), nullptr);
  EXPECT_EQ(second.AsInt(), 0);
}

}  // namespace
}  // namespace kest
