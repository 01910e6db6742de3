#pragma once
// TKestParser: a compiled expression as pages store it and as it runs. Each operation computes
// one operator or one built-in function from its operands (literal values, or variables named
// by references) into a destination variable.
//
// Temporaries ("____0", "____d_1", "____arg") are private to each run: they live in a pool that
// the parser keeps between runs (so a run allocates nothing once warm) and are never entered in
// the store. An expression evaluated inside another one (Calc, a text VAR tag) therefore has its
// own temporaries and cannot overwrite the outer run's. Every other name is looked up in the
// store, with the store's lookup rules; a name that begins with "____" and is not (yet) one of
// the run's temporaries is looked up in the store as well.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "params/custom_param.h"
#include "params/expression_ops.h"

namespace kest {

class ByteWriter;
class TParamCollection;
class TSysFuncMan;

struct TOpeData {
  OpCode op_code = ocNone;
  std::string dest;
  std::uint8_t func_index = 0;  // ocFunc only: the function's number
  // Literals as TParamInt, TParamFloat, TParamFlag or TParamStr; variables as TParamVar with
  // RefName set.
  std::vector<std::unique_ptr<TCustomParam>> operands;
};

class TKestParser {
 public:
  TKestParser();
  ~TKestParser();
  TKestParser(const TKestParser&) = delete;
  TKestParser& operator=(const TKestParser&) = delete;

  // The stored form: a 32-bit operation count and the operation records. Any inconsistency
  // (counts past the end, a function number of 142 or more) raises FormatError and leaves the
  // parser empty.
  void LoadFromStream(ByteReader& in);
  void SaveToStream(ByteWriter& out) const;

  // Runs the operations in order. An error stops the run at the failing operation; the effects
  // of the operations before it remain, the error goes no further, and there is no result.
  // Otherwise, when the last operation is a copy into "____arg", Result holds a detached copy
  // of that value.
  void Execute(TParamCollection& store, TSysFuncMan& functions);
  const TCustomParam* Result() const { return has_result_ ? result_.get() : nullptr; }
  // The message of the error that ended the last run, empty when it ran to the end. Nothing
  // else sees the error; this is for traces and tests.
  const std::string& LastError() const { return last_error_; }

  // Copies the operations of another parser, each operand rebuilt as a new value.
  void Assign(const TKestParser& other);
  void Clear();

  std::size_t Count() const { return Ops().size(); }
  const TOpeData& operator[](std::size_t index) const { return Ops()[index]; }

  // Defined by the evaluator (expression_plan.h); opaque to everyone else.
  struct Plan;
  struct Pool;

 private:
  void BuildPlan();

  const std::vector<TOpeData>& Ops() const;
  static void ReadOperations(ByteReader& in, std::vector<TOpeData>* ops);

  Bytes record_;                 // the stored record, until the operations are built
  mutable std::vector<TOpeData> ops_;
  mutable bool materialized_ = true;
  std::unique_ptr<TCustomParam> result_;
  bool has_result_ = false;
  std::string last_error_;
  std::unique_ptr<Plan> plan_;  // how each operand and destination is found; built on first run
  std::unique_ptr<Pool> pool_;  // the temporaries, kept between runs
  bool running_ = false;        // set during Execute, so a nested run takes a pool of its own
};

}  // namespace kest
