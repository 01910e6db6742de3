#pragma once
// TParamCollection: the one variable store. Variables are named, case-insensitively, and live in
// one of four scopes: global, auto-destroyed or local (both owned by the call depth that
// declared them), and status (kept across games in their own save block). The 49 system
// variables are its first items.
//
// Lookup follows the player's chains, newest item first: a local variable of the current call
// depth wins at once, otherwise the oldest non-local variable of that name; local variables of
// other depths are invisible. The collection keeps one list per folded name, so a lookup costs
// the same with ten thousand variables as with ten.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_collection.h"
#include "params/custom_param.h"
#include "params/param_types.h"
#include "params/system_vars.h"

namespace kest {

class ByteReader;
class ByteWriter;

class TParamCollectionItem final : public THashCollectionItem {
 public:
  TParamCollectionItem(std::string name, std::unique_ptr<TCustomParam> value);
  ~TParamCollectionItem() override;

  TCustomParam& Value() const { return *value_; }
  const AnchorPtr& Anchor() const { return anchor_; }
  bool IsSystem() const;

  std::uint8_t spare_byte = 0;  // kept in saves, read by nothing
  bool is_status = false;
  std::int32_t owner_depth = -1;  // call depth owning an auto-destroyed or local variable
  bool is_local = false;

 private:
  std::unique_ptr<TCustomParam> value_;
  AnchorPtr anchor_;
};

// Values kept beside the variables and saved with the main block.
struct PlayerValues {
  std::int32_t text_delay = 50;             // "@TextDelay"
  std::string cursor_name;                  // "@Cursor"
  std::string sel_str;                      // "@SelStr"
  std::int32_t sel_index = 0;               // "@SelIndex"
  std::array<std::int32_t, 6> history_layout{};  // the backlog's text layout
  std::string temp_name;                    // the variable "@Temp" stands for
  bool operator==(const PlayerValues&) const = default;
};

// Format version of game saves that the main block writes by default: every gated field.
inline constexpr std::int32_t kLatestSaveVersion = 121;

class TParamCollection {
 public:
  TParamCollection();
  ~TParamCollection();
  TParamCollection(const TParamCollection&) = delete;
  TParamCollection& operator=(const TParamCollection&) = delete;

  std::size_t Count() const { return items_.Count(); }
  TParamCollectionItem& operator[](std::size_t index) const { return items_[index]; }

  std::int32_t CurrentDepth() const { return current_depth_; }
  void SetCurrentDepth(std::int32_t depth);

  PlayerValues& Values() { return values_; }
  const PlayerValues& Values() const { return values_; }

  // Player state behind the system variables; the stand-in until a player provides its own.
  TSystemState& SystemState() const { return *system_state_; }
  void SetSystemState(std::unique_ptr<TSystemState> state);

  TParamCollectionItem* Find(std::string_view name) const;
  enum class DeclaredAs { NonLocal, Local };
  TParamCollectionItem* FindDeclared(std::string_view name, DeclaredAs kind) const;

  // Appends a variable named `name` (validated: not empty, no blank, no leading digit, else
  // "\"%s\"：変数名が不正です") holding a new value of the type code (an unknown code raises
  // "%s:不正な変数です").
  TParamCollectionItem& AddParam(std::string name, std::uint8_t type_code);

  // A detached copy of the named variable's value, or none when there is no such variable. A
  // variable whose type code is not 1 to 4 raises "%s:不正な変数です".
  std::unique_ptr<TCustomParam> CopyValue(std::string_view name) const;

  // The variable declaration: finds or creates the variable, then stores `initial` (when there
  // is one) by the declared type code. A status variable that exists keeps its value.
  TParamCollectionItem& Declare(std::string_view name, std::uint8_t type_code, ParamScope scope,
                                const TCustomParam* initial);

  // Frees the variable Find gives; system variables are never freed. Answers whether one was.
  bool VarDel(std::string_view name);
  // Frees, last first, every variable owned by the call depth (never system or status ones).
  void FreeOwned(std::int32_t depth);
  // Frees every variable that is neither a system nor a status variable and resets TextDelay,
  // CursorName and HistoryLayout (SelStr, SelIndex and TempName keep their values).
  void ClearMain();

  // The main block of a game save: the game variables (neither system nor status), each
  // reference after its target, then the player values gated by the save's version.
  void SaveMain(ByteWriter& out, std::int32_t version = kLatestSaveVersion) const;
  // Replaces the game variables and the player values with the block; nothing changes unless
  // the whole block reads correctly (a FormatError says where it did not).
  void LoadMain(ByteReader& in, std::int32_t version);
  // The status block: the status variables, no trailer.
  void SaveStatus(ByteWriter& out) const;
  // Adds the block's variables (nothing is freed first; nothing is added unless all read).
  void LoadStatus(ByteReader& in, std::int32_t version);

  // Bumped whenever a variable is added or freed, or the call depth changes: a name looked up
  // at one generation resolves to the same variable until the generation changes.
  std::uint64_t Generation() const { return generation_; }

 private:
  enum class Block { Main, Status };
  std::vector<const TParamCollectionItem*> BlockItems(Block block) const;
  void SaveRecords(ByteWriter& out, Block block) const;
  std::vector<std::unique_ptr<TParamCollectionItem>> LoadRecords(ByteReader& in) const;
  void AddLoaded(std::vector<std::unique_ptr<TParamCollectionItem>> loaded);
  void RemoveGameVariables();
  TParamCollectionItem& Append(std::unique_ptr<TParamCollectionItem> item);

  THashCollection<TParamCollectionItem> items_;
  std::int32_t current_depth_ = 0;
  PlayerValues values_;
  std::unique_ptr<TSystemState> system_state_;
  std::uint64_t generation_ = 0;
};

// A value that depends on nothing else: a copy of the same class for a storing value; for a
// reference or a system variable, a storing value of its type holding what it reads. None for a
// value whose type is not 1 to 4.
std::unique_ptr<TCustomParam> DetachedCopy(const TCustomParam& value);

// Raises "\"%s\"：変数名が不正です" for an empty name, one containing a blank, or one whose first
// byte is a digit.
void ValidateVariableName(std::string_view name);

}  // namespace kest
