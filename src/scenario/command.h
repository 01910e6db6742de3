#pragma once
// TCommand: one command of a page. Every command has the common header (indent, disabled and
// continue-frame flags, source line number) and the fields its type's table row lists; fields a
// page's version does not store are absent. Behaviour lives with the interpreter; this is the
// command as stored.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "params/kest_parser.h"
#include "params/property_types.h"
#include "scenario/command_types.h"

namespace kest {

class ByteReader;
class ByteWriter;
class TPage;

struct CommandField {
  bool present = true;                                  // false: the page's version lacks it
  std::unique_ptr<TKestParser> expression;              // Expression
  std::string text;                                     // String, Text
  std::int32_t number = 0;                              // Int, Byte
  std::vector<std::unique_ptr<TKestParser>> list;       // ExpressionList
  // Properties: one slot per property id; a slot holds an expression when the page's property
  // set for the command's type has that id.
  std::vector<std::unique_ptr<TKestParser>> properties;
};

class TCommand {
 public:
  // A command of the type in the low 7 bits of `type_byte`; the byte itself is kept so that a
  // page is written back as it was read. Raises "不正なコマンド" for a type outside the table.
  explicit TCommand(std::uint8_t type_byte);

  const CommandSpec& Spec() const { return *spec_; }
  std::uint8_t CommandType() const { return spec_->id; }
  std::uint8_t TypeByte() const { return type_byte_; }

  // The flags as the command's class answers them (some classes fix them).
  bool ContinuesFrame() const;
  bool IsDisabled() const;
  // A label command (Label, not Comment) answers for its own name, compared exactly.
  bool IsLabel(std::string_view name) const;

  std::int32_t Indent = 0;
  bool Disabled = false;
  bool ContinueFrame = false;
  std::int32_t LineNumber = 0;
  std::vector<CommandField> Fields;  // one per field of the type, in table order

  // The record after the type byte: the common header, then the fields.
  void Load(ByteReader& in, const TPage& page);
  void Save(ByteWriter& out, const TPage& page) const;

 private:
  const CommandSpec* spec_;
  std::uint8_t type_byte_;
};

}  // namespace kest
