#pragma once
// Inside TKestParser: how each operand and destination of the compiled operations is found at
// run time, and the pool of private temporaries. Not part of the library's interface.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "params/kest_parser.h"
#include "params/param_collection.h"

namespace kest {

// A store lookup remembered with the store's generation: while nothing was added to or freed
// from the store and the call depth is the same, the name still finds the same variable.
struct LookupCache {
  std::uint64_t generation = 0;
  TParamCollectionItem* item = nullptr;

  TParamCollectionItem* Find(TParamCollection& store, const std::string& name) {
    if (generation != store.Generation()) {
      item = store.Find(name);
      generation = store.Generation();
    }
    return item;
  }
};

struct OperandPlan {
  TCustomParam* value;    // the literal, or the TParamVar naming the variable
  bool is_variable;
  int slot = -1;          // a temporary's slot in the pool, for temporary names
  LookupCache cache;
};

struct OperationPlan {
  std::vector<OperandPlan> operands;
  int dest_slot = -1;
  LookupCache dest_cache;
};

struct TKestParser::Plan {
  std::vector<OperationPlan> operations;
  std::vector<std::string> temp_names;  // by slot
  int result_slot = -1;                 // the slot of "____arg"
};

struct TempSlot {
  std::unique_ptr<TCustomParam> value;
  AnchorPtr anchor = std::make_shared<TParamAnchor>();
  bool live = false;  // made during the current run
};

struct RunBuffers;  // scratch space of a run, reused so a warm run allocates nothing

struct TKestParser::Pool {
  Pool();
  ~Pool();
  std::vector<TempSlot> slots;
  std::unique_ptr<RunBuffers> buffers;
};

}  // namespace kest
