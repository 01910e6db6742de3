// Loads the input as a stored expression (as pages hold them), writes it back, and runs it
// against a small store. Loading may only fail with a FormatError; a loaded record must write
// again without error, and running it must absorb every error of its own.

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
  for (const std::string& text : kest::fuzz::SampleExpressions()) {
    kest::TBuildKestParser builder;
    builder.Parse(text);
    kest::ByteWriter out;
    builder.SaveToStream(out);
    seeds.push_back(out.Take());
  }
  seeds.push_back({});
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kest::TKestParser parser;
  kest::ByteReader in(kest::ByteSpan(data, size), "fuzz");
  try {
    parser.LoadFromStream(in);
  } catch (const kest::FormatError&) {
    return 0;
  }
  kest::ByteWriter out;
  parser.SaveToStream(out);
  kest::TParamCollection store;
  kest::fuzz::PopulateStore(store);
  kest::TSysFuncMan functions;
  parser.Execute(store, functions);
  parser.Execute(store, functions);  // a second run reuses the pooled temporaries
  return 0;
}
