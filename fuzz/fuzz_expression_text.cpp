// Compiles the input as expression text, stores it, loads it and runs it. Compiling and storing
// may only fail with the player's own errors (KestError); what compiles must store, load and
// run without anything escaping.

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_expression_common.h"
#include "fuzz_target.h"
#include "params/build_parser.h"
#include "params/kest_parser.h"
#include "params/sys_func_man.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (const std::string& text : kest::fuzz::SampleExpressions()) seeds.emplace_back(text.begin(), text.end());
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  kest::ByteWriter out;
  try {
    kest::TBuildKestParser builder;
    builder.Parse(text);
    builder.SaveToStream(out);
  } catch (const kest::KestError&) {
    return 0;
  }
  kest::TKestParser parser;
  kest::ByteReader in(out.Data(), "fuzz");
  parser.LoadFromStream(in);
  kest::TParamCollection store;
  kest::fuzz::PopulateStore(store);
  kest::TSysFuncMan functions;
  parser.Execute(store, functions);
  return 0;
}
