#pragma once
// Compiling and running expressions in tests: text written in UTF-8, compiled, stored in a
// record, loaded and run over a store, as a page would.

#include <optional>
#include <string>
#include <string_view>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "params/expression_compile.h"
#include "params/kest_parser.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"
#include "test_support.h"

namespace kest::testing {

inline Bytes CompileRecord(std::string_view utf8_text) { return CompileExpressionRecord(Sjis(utf8_text)); }

inline std::unique_ptr<TKestParser> Load(const Bytes& record) {
  auto parser = std::make_unique<TKestParser>();
  ByteReader in(record, "test");
  parser->LoadFromStream(in);
  return parser;
}

struct Engine {
  TParamCollection store;
  TSysFuncMan functions;
  std::string last_error;

  // Runs the text and answers its result as text (CP932), or none.
  std::optional<std::string> Eval(std::string_view utf8_text) { return EvalRaw(Sjis(utf8_text)); }

  // The same for text given as CP932 bytes.
  std::optional<std::string> EvalRaw(std::string_view cp932_text) {
    auto parser = CompileExpressionToRun(cp932_text, "test");
    parser->Execute(store, functions);
    last_error = parser->LastError();
    if (!parser->Result()) return std::nullopt;
    return parser->Result()->AsStr();
  }

  TCustomParam& Var(std::string_view utf8_name, ParamTypeCode type) {
    return store.Declare(Sjis(utf8_name), type, ParamScope::Global, nullptr).Value();
  }
  TCustomParam& Get(std::string_view utf8_name) { return store.Find(Sjis(utf8_name))->Value(); }
};

}  // namespace kest::testing
