#pragma once
// The 61 command types of a page, as one table: each type's names, its class, the fields of its
// record after the common header (in stored order, with the page version each needs), and the
// flags its class fixes. The page reader and writer, the title compiler and the decompiler all
// work from this table.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kest {

enum class FieldKind : std::uint8_t {
  Expression,      // a compiled expression record
  String,          // an LString
  Int,             // an int32
  Byte,            // one byte
  ExpressionList,  // int32 k, then k expressions
  Properties,      // one expression per property id set in the type's property set
  Text,            // int32 size, then that many bytes: message text, lines joined by CR LF
};

// What a field means, for the compiler's defaults and the decompiler's choice of notation.
enum class FieldRole : std::uint8_t {
  Plain,
  Condition,   // If, loops, Jump ...: an empty or missing condition reads as "always"
  PageName,    // the page of a jump, call or reset
  Target,      // a command index in that page (a label's index unless written out)
  LoopExit,    // While: the index after the loop
  LoopStart,   // WhileLoop: the index of its While
  BreakTarget, // Break: the index after the enclosing loop
  ContinueTarget,  // Continue: the index of the enclosing loop's WhileLoop (or While)
  VariableType,    // VarNew: 1 int, 2 float, 3 bool, 4 str
  VariableScope,   // VarNew: 0 global, 1 auto, 2 local, 3 status
  PropertyId,      // an expression giving a property id (GetProp, SetProp, PropMotion)
  PropertyValue,   // SetProp: the value, named by the code table of the property before it
  MotionType,      // PropMotion: MT_NORMAL, MT_INC, MT_DEC
  WipeKind,        // Flip: the transition, WP_NONE ... WP_BLOCKRANDOM
  KeepMode,        // Flip: FL_OUT, FL_STAY
};

struct FieldSpec {
  FieldKind kind;
  std::string_view key;         // the field's name in title source
  std::int32_t since = 0;       // the field is stored only in pages of this version or later
  FieldRole role = FieldRole::Plain;
  bool keyed = false;           // in title source, given only as `key: value`, never by position
};

// Flags a command class fixes whatever its record says.
enum class FrameRule : std::uint8_t { Stored, AlwaysContinues, NeverContinues };

struct CommandSpec {
  std::uint8_t id;
  std::string_view name;        // "If", "BoxNew" ...
  std::string_view label;       // the authoring tool's label, UTF-8
  std::string_view class_name;  // "TComIf" ...
  std::span<const FieldSpec> fields;
  FrameRule frame = FrameRule::Stored;
  bool always_disabled = false;
};

inline constexpr std::size_t kCommandTypeCount = 61;

const std::array<CommandSpec, kCommandTypeCount>& CommandSpecs();
// The table row of a type byte (its low 7 bits), or nullptr when outside the table.
const CommandSpec* FindCommandSpec(std::uint8_t type_byte);
// The table row named `name` (exactly), or nullptr.
const CommandSpec* FindCommandSpec(std::string_view name);

}  // namespace kest
