#include "params/expression_compile.h"

#include "core/byte_writer.h"
#include "params/build_parser.h"

namespace kest {

Bytes CompileExpressionRecord(std::string_view text) {
  TBuildKestParser compiler;
  compiler.Parse(text);
  ByteWriter out;
  compiler.SaveToStream(out);
  return out.Take();
}

std::unique_ptr<TKestParser> CompileExpressionToRun(std::string_view text, std::string source) {
  const Bytes record = CompileExpressionRecord(text);
  ByteReader in(record, std::move(source));
  auto parser = std::make_unique<TKestParser>();
  parser->LoadFromStream(in);
  return parser;
}

}  // namespace kest
