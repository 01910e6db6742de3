#pragma once
// Shared by the expression fuzz targets: a small store to run against, and sample expressions
// that reach every phase of the compiler and every operation kind.

#include <string>
#include <vector>

#include "params/param_collection.h"

namespace kest::fuzz {

inline void PopulateStore(TParamCollection& store) {
  const std::int32_t sizes[] = {3, 3};
  store.Declare("a", PT_INT, ParamScope::Global, nullptr).Value().SetDims(sizes);
  store.Declare("i", PT_INT, ParamScope::Global, nullptr).Value().SetInt(1);
  store.Declare("f", PT_FLOAT, ParamScope::Global, nullptr).Value().SetFloat(0.5L);
  store.Declare("b", PT_BOOL, ParamScope::Global, nullptr);
  store.Declare("s", PT_STR, ParamScope::Global, nullptr).Value().SetStr("x = i + 1");
}

inline std::vector<std::string> SampleExpressions() {
  return {
      "x = (a + b) * c",
      "a[i, 2] = a[i, 1] + 1",
      "s = IntToStr(Max(1, i) + 2.5) ++ \"\\x95\\x5C\\n\" ++ (TRUE == b)",
      "Max(Min(1, 2), Abs(-2)) + Length(\"\x83\x5C\")",
      "i = -7 / 2 % 3 << 1 >> 2 & 5 | 6 ^ 7",
      "b = s <> \"a\" == (f >= 0.5)",
      "Calc(s) ++ StringReplace(s, \"i\", \"j\", TRUE)",
      "SetArray(a, 2, 2) + StringToArray(\"a,b\", s, \",\") + DeleteArray(s, 0, 1)",
  };
}

}  // namespace kest::fuzz
