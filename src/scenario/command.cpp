#include "scenario/command.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "scenario/messages.h"
#include "scenario/page.h"

namespace kest {

namespace {

const CommandSpec& SpecOf(std::uint8_t type_byte) {
  const CommandSpec* spec = FindCommandSpec(type_byte);
  if (!spec) throw KestError(Message(ScenarioMessage::BadCommand));
  return *spec;
}

std::unique_ptr<TKestParser> LoadExpression(ByteReader& in) {
  auto expression = std::make_unique<TKestParser>();
  expression->LoadFromStream(in);
  return expression;
}

void SaveExpression(ByteWriter& out, const TKestParser* expression) {
  if (expression) {
    expression->SaveToStream(out);
  } else {
    out.I32(0);  // an expression with no operations
  }
}

}  // namespace

TCommand::TCommand(std::uint8_t type_byte) : spec_(&SpecOf(type_byte)), type_byte_(type_byte) {
  Fields.resize(spec_->fields.size());
}

bool TCommand::ContinuesFrame() const {
  switch (spec_->frame) {
    case FrameRule::AlwaysContinues: return true;
    case FrameRule::NeverContinues: return false;
    case FrameRule::Stored: break;
  }
  return ContinueFrame;
}

bool TCommand::IsDisabled() const { return spec_->always_disabled || Disabled; }

bool TCommand::IsLabel(std::string_view name) const {
  return spec_->name == "Label" && Fields[0].text == name;
}

void TCommand::Load(ByteReader& in, const TPage& page) {
  Indent = in.I32();
  Disabled = in.Bool();
  ContinueFrame = in.Bool();
  LineNumber = in.I32();
  for (std::size_t i = 0; i < spec_->fields.size(); ++i) {
    const FieldSpec& spec = spec_->fields[i];
    CommandField& field = Fields[i];
    field = CommandField{};
    field.present = page.Version >= spec.since;
    if (!field.present) continue;
    switch (spec.kind) {
      case FieldKind::Expression: field.expression = LoadExpression(in); break;
      case FieldKind::String: field.text = in.LString(); break;
      case FieldKind::Int: field.number = in.I32(); break;
      case FieldKind::Byte: field.number = in.U8(); break;
      case FieldKind::ExpressionList: {
        const std::size_t count = in.Count(in.I32(), 4, "expression list");
        for (std::size_t k = 0; k < count; ++k) field.list.push_back(LoadExpression(in));
        break;
      }
      case FieldKind::Properties:
        field.properties.resize(kPropertyCount);
        page.ForEachProperty(CommandType(), [&](std::size_t id) { field.properties[id] = LoadExpression(in); });
        break;
      case FieldKind::Text: {
        const std::size_t size = in.Count(in.I32(), 1, "message text");
        field.text = in.Chars(size);
        break;
      }
    }
  }
}

void TCommand::Save(ByteWriter& out, const TPage& page) const {
  out.U8(type_byte_);
  out.I32(Indent);
  out.Bool(Disabled);
  out.Bool(ContinueFrame);
  out.I32(LineNumber);
  for (std::size_t i = 0; i < spec_->fields.size(); ++i) {
    const FieldSpec& spec = spec_->fields[i];
    const CommandField& field = Fields[i];
    if (page.Version < spec.since) continue;
    switch (spec.kind) {
      case FieldKind::Expression: SaveExpression(out, field.expression.get()); break;
      case FieldKind::String: out.LString(field.text); break;
      case FieldKind::Int: out.I32(field.number); break;
      case FieldKind::Byte: out.U8(static_cast<std::uint8_t>(field.number)); break;
      case FieldKind::ExpressionList:
        out.I32(static_cast<std::int32_t>(field.list.size()));
        for (const auto& expression : field.list) SaveExpression(out, expression.get());
        break;
      case FieldKind::Properties:
        page.ForEachProperty(CommandType(), [&](std::size_t id) {
          SaveExpression(out, id < field.properties.size() ? field.properties[id].get() : nullptr);
        });
        break;
      case FieldKind::Text:
        out.I32(static_cast<std::int32_t>(field.text.size()));
        out.Raw(field.text);
        break;
    }
  }
}

}  // namespace kest
