#include "source/page_source.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "params/property_types.h"
#include "source/constant_names.h"
#include "source/expression_text.h"
#include "source/page_structure.h"

namespace kest::source {

namespace {

constexpr std::string_view kVariableTypes[] = {"", "int", "float", "bool", "str"};
constexpr std::string_view kVariableScopes[] = {"global", "auto", "local", "status"};
constexpr int kMaxWrittenIndent = 100;

bool IsKeyCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// "key: value" → key; otherwise empty (a positional argument).
std::string KeyOf(std::string_view argument, std::size_t& value_start) {
  std::size_t i = 0;
  while (i < argument.size() && IsKeyCharacter(argument[i])) ++i;
  if (i == 0 || i >= argument.size() || argument[i] != ':') return {};
  value_start = i + 1;
  while (value_start < argument.size() && argument[value_start] == ' ') ++value_start;
  return std::string(argument.substr(0, i));
}

std::unique_ptr<TKestParser> ParserOf(const Bytes& record, const Place& place) {
  auto parser = std::make_unique<TKestParser>();
  ByteReader in(record, "expression");
  try {
    parser->LoadFromStream(in);
  } catch (const KestError& error) {
    place.Fail(0, cp932::ToUtf8Lenient(error.what()));
  }
  if (!in.AtEnd()) place.Fail(0, "the operation list has bytes left over");
  return parser;
}

std::optional<std::size_t> PropertyId(const std::string& key) {
  if (!key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    std::size_t id = 0;  // digits beyond the table's size are not an id, however many there are
    for (const char c : key) {
      id = id * 10 + static_cast<std::size_t>(c - '0');
      if (id >= kPropertyCount) return std::nullopt;
    }
    return id;
  }
  for (std::size_t id = 0; id < kPropertyCount; ++id)
    if (kProperties[id].name == key) return id;
  return std::nullopt;
}

std::int64_t ParseNumber(const std::string& text, const Place& place, std::int64_t low, std::int64_t high) {
  char* end = nullptr;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const long long value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
  if (text.empty() || *end != '\0' || value < low || value > high)
    place.Fail(0, "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  return value;
}

std::string ParseString(const std::string& value, const Place& place) {
  if (!value.empty() && value[0] == '"') {
    std::size_t consumed = 0;
    std::string text = ParseQuoted(value, consumed, place);
    if (consumed != value.size()) place.Fail(consumed, "unexpected text after the string");
    return text;
  }
  return value;  // a bare word is taken as it stands
}

struct PageReference {
  std::string page;
  std::optional<std::string> label;
  std::optional<std::int32_t> index;
};

// PAGE, PAGE:LABEL or PAGE#INDEX; the page may be quoted.
PageReference ParsePageReference(const std::string& value, const Place& place) {
  PageReference reference;
  std::size_t rest = 0;
  if (!value.empty() && value[0] == '"') {
    reference.page = ParseQuoted(value, rest, place);
  } else {
    while (rest < value.size()) {
      const std::size_t length = cp932::CharLength(value, rest);
      if (length == 1 && (value[rest] == ':' || value[rest] == '#')) break;
      rest += length;
    }
    reference.page = Trim(std::string_view(value).substr(0, rest));
  }
  if (rest < value.size()) {
    const std::string tail = value.substr(rest + 1);
    if (value[rest] == ':') {
      reference.label = ParseString(Trim(tail), place.At(rest + 1));
    } else if (value[rest] == '#') {
      reference.index = static_cast<std::int32_t>(ParseNumber(Trim(tail), place.At(rest + 1), INT32_MIN, INT32_MAX));
    } else {
      place.Fail(rest, "expected ':LABEL' or '#INDEX' after the page");
    }
  }
  return reference;
}

class PageCompiler {
 public:
  PageCompiler(const std::string& file, const std::string& page_name, SourceErrors& errors)
      : file_(file), errors_(errors) {
    result_.page = std::make_unique<TPage>();
    result_.page->Name = page_name;
    result_.file = file;
    result_.page->Version = kNewestPageVersion;
  }

  CompiledPage Compile(std::string_view utf8) {
    lines_ = SplitSource(utf8, file_, errors_);
    bool commands_started = false;
    for (const SourceLine& line : lines_) {
      if (line.text.empty() || line.text[0] == '#') continue;
      const Place place{&file_, &line, 0};
      bool directive = false;
      // A faulty line is reported and left out; the lines after it are still compiled.
      if (!commands_started && line.indent == 0 && !errors_.Catch([&] { directive = Directive(line, place); })) continue;
      if (directive) continue;
      commands_started = true;
      errors_.Catch([&] { Command(line, place); });
    }
    TPage& page = *result_.page;
    if (!explicit_sets_) page.StorePropertySets();
    FillStructure();
    return std::move(result_);
  }

 private:
  bool Directive(const SourceLine& line, const Place& place) {
    const std::string& text = line.text;
    const std::size_t space = text.find(' ');
    const std::string word = text.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : Trim(std::string_view(text).substr(space + 1));
    const Place value_place = place.At(space == std::string::npos ? text.size() : space + 1);
    TPage& page = *result_.page;
    if (word == "page-version") {
      page.Version = static_cast<std::int32_t>(ParseNumber(rest, value_place, kOldestPageVersion, kNewestPageVersion));
    } else if (word == "result-type") {
      const auto named = std::find(std::begin(kVariableTypes) + 1, std::end(kVariableTypes), rest);
      page.ResultType = named != std::end(kVariableTypes)
                            ? static_cast<std::uint8_t>(named - std::begin(kVariableTypes))
                            : static_cast<std::uint8_t>(ParseNumber(rest, value_place, 0, 255));
    } else if (word == "property-sets") {
      std::size_t split = rest.find(' ');
      if (split == std::string::npos) value_place.Fail(0, "expected COUNT SIZE");
      page.StoredSetCount = static_cast<std::int32_t>(ParseNumber(rest.substr(0, split), value_place, 0, 4096));
      page.StoredSetSize = static_cast<std::int32_t>(ParseNumber(Trim(rest.substr(split + 1)), value_place, 0, 4096));
      page.StoredSets.assign(static_cast<std::size_t>(page.StoredSetCount) * static_cast<std::size_t>(page.StoredSetSize), 0);
      explicit_sets_ = true;
    } else if (word == "property-set") {
      if (!explicit_sets_) place.Fail(0, "property-set comes after property-sets COUNT SIZE");
      const std::size_t split = rest.find(' ');
      const std::int64_t set = ParseNumber(rest.substr(0, split), value_place, 0, page.StoredSetCount - 1);
      const std::string hex = split == std::string::npos ? std::string() : Trim(rest.substr(split + 1));
      const auto size = static_cast<std::size_t>(page.StoredSetSize);
      if (hex.size() != size * 2) value_place.Fail(0, "a property set is " + std::to_string(size * 2) + " hexadecimal digits");
      for (std::size_t i = 0; i < size; ++i) {
        unsigned byte = 0;
        if (std::sscanf(hex.c_str() + i * 2, "%2x", &byte) != 1) value_place.Fail(0, "not a hexadecimal digit");
        page.StoredSets[static_cast<std::size_t>(set) * size + i] = static_cast<std::uint8_t>(byte);
        if (set < static_cast<std::int64_t>(kCommandTypeCount) && i < kPropertySetBytes)
          page.PropertySets[static_cast<std::size_t>(set)][i] = static_cast<std::uint8_t>(byte);
      }
    } else {
      return false;
    }
    return true;
  }

  struct Prefix {
    bool frame_end = false, disabled = false;
    std::optional<std::int32_t> line, indent;
    std::optional<std::uint8_t> type_byte;
  };

  Prefix ReadPrefix(const std::string& text, std::size_t& at, const Place& place) {
    Prefix prefix;
    if (text[0] != '[') return prefix;
    const std::size_t close = text.find(']');
    if (close == std::string::npos) place.Fail(0, "'[' is never closed");
    std::size_t i = 1;
    while (i < close) {
      while (i < close && text[i] == ' ') ++i;
      const std::size_t begin = i;
      while (i < close && text[i] != ' ') ++i;
      if (begin == i) break;
      const std::string flag = text.substr(begin, i - begin);
      const Place flag_place = place.At(begin);
      const std::size_t equals = flag.find('=');
      const std::string name = flag.substr(0, equals);
      const std::string value = equals == std::string::npos ? std::string() : flag.substr(equals + 1);
      if (flag == "frame-end") prefix.frame_end = true;
      else if (flag == "disabled") prefix.disabled = true;
      else if (name == "line") prefix.line = static_cast<std::int32_t>(ParseNumber(value, flag_place.At(5), INT32_MIN, INT32_MAX));
      else if (name == "indent") prefix.indent = static_cast<std::int32_t>(ParseNumber(value, flag_place.At(7), INT32_MIN, INT32_MAX));
      else if (name == "type") prefix.type_byte = static_cast<std::uint8_t>(ParseNumber(value, flag_place.At(5), 0, 255));
      else flag_place.Fail(0, "unknown flag '" + flag + "' (frame-end, disabled, line=N, indent=N, type=N)");
    }
    at = close + 1;
    while (at < text.size() && text[at] == ' ') ++at;
    return prefix;
  }

  void Command(const SourceLine& line, const Place& place) {
    const std::string& text = line.text;
    std::size_t at = 0;
    const Prefix prefix = ReadPrefix(text, at, place);
    std::size_t name_end = at;
    while (name_end < text.size() && text[name_end] != ' ') ++name_end;
    const std::string name = text.substr(at, name_end - at);
    const CommandSpec* spec = FindCommandSpec(std::string_view(name));
    if (!spec) place.Fail(at, "unknown command '" + cp932::ToUtf8Lenient(name) + "'");
    if (prefix.type_byte && (*prefix.type_byte & 0x7F) != spec->id)
      place.Fail(0, "type=" + std::to_string(*prefix.type_byte) + " is not a " + std::string(spec->name));

    TPage& page = *result_.page;
    auto command = std::make_unique<TCommand>(prefix.type_byte.value_or(spec->id));
    if (!prefix.indent && line.indent % 2 != 0) place.Fail(0, "indent by two spaces per level");
    command->Indent = prefix.indent.value_or(static_cast<std::int32_t>(line.indent / 2));
    command->Disabled = prefix.disabled;
    command->ContinueFrame = !prefix.frame_end;
    command->LineNumber = prefix.line.value_or(static_cast<std::int32_t>(line.number));
    const std::size_t index = page.Commands.size();

    std::vector<bool> given(spec->fields.size(), false);
    bool keyed = false;
    std::vector<std::size_t> offsets;
    const std::size_t args_at = std::min(name_end + 1, text.size());
    const std::vector<std::string> arguments = SplitTopLevel(std::string_view(text).substr(args_at), place.At(args_at), &offsets);
    for (std::size_t a = 0; a < arguments.size(); ++a) {
      const std::string& argument = arguments[a];
      const Place arg_place = place.At(args_at + offsets[a]);
      if (argument.empty()) arg_place.Fail(0, "empty argument");
      std::size_t value_start = 0;
      const std::string key = KeyOf(argument, value_start);
      const std::string value = key.empty() ? argument : argument.substr(value_start);
      const Place value_place = arg_place.At(key.empty() ? 0 : value_start);

      std::optional<std::size_t> field;
      if (key.empty()) {
        // Leading arguments may go without their names: they fill the fields in order.
        std::size_t next = 0;
        while (next < given.size() && (given[next] || spec->fields[next].keyed)) ++next;
        if (keyed || next >= spec->fields.size() || spec->fields[next].kind == FieldKind::Properties)
          arg_place.Fail(0, "this argument needs its name (key: value)");
        field = next;
      } else {
        keyed = true;
        for (std::size_t f = 0; f < spec->fields.size(); ++f)
          if (spec->fields[f].key == key) field = f;
      }
      if (!field) {
        const auto properties = std::find_if(spec->fields.begin(), spec->fields.end(),
                                             [](const FieldSpec& f) { return f.kind == FieldKind::Properties; });
        const std::optional<std::size_t> id = PropertyId(key);
        if (properties == spec->fields.end() || !id)
          arg_place.Fail(0, std::string(spec->name) + " has no field '" + key + "'");
        Property(*command, static_cast<std::size_t>(properties - spec->fields.begin()), *id, value, value_place);
        continue;
      }
      if (given[*field]) arg_place.Fail(0, "'" + std::string(spec->fields[*field].key) + "' is given twice");
      given[*field] = true;
      Field(*command, index, *field, value, value_place, line, given);
    }
    Defaults(*command, given, place);
    page.Commands.push_back(std::move(command));
  }

  void Property(TCommand& command, std::size_t field, std::size_t id, const std::string& value, const Place& place) {
    TPage& page = *result_.page;
    CommandField& properties = command.Fields[field];
    properties.properties.resize(kPropertyCount);
    if (properties.properties[id]) place.Fail(0, std::string(kProperties[id].name) + " is given twice");
    if (explicit_sets_ && !page.HasProperty(command.CommandType(), id))
      place.Fail(0, std::string(kProperties[id].name) + " is not in this page's property set for " +
                        std::string(command.Spec().name));
    page.SetProperty(command.CommandType(), id);
    properties.properties[id] = ParserOf(CompileExpression(value, place), place);
  }

  void Field(TCommand& command, std::size_t index, std::size_t f, const std::string& value, const Place& place,
             const SourceLine& line, std::vector<bool>& given) {
    const FieldSpec& spec = command.Spec().fields[f];
    CommandField& field = command.Fields[f];
    switch (spec.kind) {
      case FieldKind::Expression:
        field.expression = ParserOf(CompileExpression(value, place), place);
        break;
      case FieldKind::Text:
        if (value.empty() || value[0] != '"') place.Fail(0, "message text is a quoted string");
        field.text = ParseString(value, place);
        break;
      case FieldKind::String:
        if (spec.role == FieldRole::PageName) {
          const PageReference reference = ParsePageReference(value, place);
          field.text = reference.page;
          const std::size_t target = f + 1;
          const bool has_target = target < command.Spec().fields.size() && command.Spec().fields[target].role == FieldRole::Target;
          if ((reference.label || reference.index) && !has_target)
            place.Fail(0, std::string(command.Spec().name) + " stores no target here; give the page alone");
          if (has_target && (reference.label || reference.index)) {
            given[target] = true;
            if (reference.index) command.Fields[target].number = *reference.index;
            if (reference.label)
              result_.pending.push_back({index, target, reference.page, *reference.label, line, place.base});
          }
        } else {
          field.text = ParseString(value, place);
        }
        break;
      case FieldKind::Int:
        field.number = static_cast<std::int32_t>(ParseNumber(value, place, INT32_MIN, INT32_MAX));
        break;
      case FieldKind::Byte: {
        std::span<const std::string_view> names;
        if (spec.role == FieldRole::VariableType) names = kVariableTypes;
        if (spec.role == FieldRole::VariableScope) names = kVariableScopes;
        const auto named = std::find(names.begin(), names.end(), value);
        field.number = named != names.end() && !value.empty() ? static_cast<std::int32_t>(named - names.begin())
                                                              : static_cast<std::int32_t>(ParseNumber(value, place, 0, 255));
        break;
      }
      case FieldKind::ExpressionList: {
        if (value.size() < 2 || value.front() != '(' || value.back() != ')')
          place.Fail(0, "a list is written (first, second, ...)");
        std::vector<std::size_t> offsets;
        const auto items = SplitTopLevel(std::string_view(value).substr(1, value.size() - 2), place.At(1), &offsets);
        for (std::size_t i = 0; i < items.size(); ++i)
          field.list.push_back(ParserOf(CompileExpression(items[i], place.At(1 + offsets[i])), place.At(1 + offsets[i])));
        break;
      }
      case FieldKind::Properties:
        place.Fail(0, "properties are given as PR_NAME: value");
    }
  }

  void Defaults(TCommand& command, const std::vector<bool>& given, const Place& place) {
    const TPage& page = *result_.page;
    for (std::size_t f = 0; f < command.Fields.size(); ++f) {
      const FieldSpec& spec = command.Spec().fields[f];
      CommandField& field = command.Fields[f];
      field.present = page.Version >= spec.since;
      if (given[f]) continue;
      if (spec.kind == FieldKind::Expression) {
        // An omitted condition holds; any other omitted expression has no value.
        const Bytes empty = {0, 0, 0, 0};
        const Place nowhere{&file_, &lines_.front(), 0};
        field.expression = ParserOf(spec.role == FieldRole::Condition ? AlwaysTrueRecord() : empty, nowhere);
      }
      if (spec.kind == FieldKind::Byte && spec.role == FieldRole::VariableType) field.number = 1;
      if (spec.kind == FieldKind::Int && spec.role != FieldRole::Plain && spec.role != FieldRole::Target)
        structure_.push_back({page.Commands.size(), f, place});
    }
    if (command.Fields.size() && command.Spec().fields[0].kind == FieldKind::Properties)
      command.Fields[0].properties.resize(kPropertyCount);
  }

  void FillStructure() {
    TPage& page = *result_.page;
    for (const Structure& entry : structure_) {
      const FieldRole role = page.Commands[entry.command]->Spec().fields[entry.field].role;
      const std::int32_t implied = ImpliedIndex(page, entry.command, role);
      if (role == FieldRole::LoopStart && implied < 0) {
        errors_.Catch([&] {
          entry.place.Fail(0, "WhileLoop is not in a While's body: indent it one level deeper than its While "
                              "(or give loop: INDEX)");
        });
        continue;
      }
      page.Commands[entry.command]->Fields[entry.field].number = implied;
    }
  }

  std::string file_;
  SourceErrors& errors_;
  std::vector<SourceLine> lines_;
  CompiledPage result_;
  bool explicit_sets_ = false;
  // The fields whose values the block structure implies, computed once every command is read.
  struct Structure {
    std::size_t command, field;
    Place place;  // the command's line, for errors
  };
  std::vector<Structure> structure_;
};

// --- dumping ---------------------------------------------------------------------------------

bool IsBareWord(std::string_view text) {
  if (text.empty()) return false;
  for (std::size_t i = 0; i < text.size(); i += cp932::CharLength(text, i)) {
    if (cp932::CharLength(text, i) == 2) continue;
    const char c = text[i];
    if (!(IsKeyCharacter(c) || c == '.' || c == '\\' || c == '-' || c == '@')) return false;
  }
  return !(text[0] >= '0' && text[0] <= '9') || text.find_first_not_of("0123456789") != std::string_view::npos;
}

std::string StringValue(std::string_view text) { return IsBareWord(text) ? std::string(text) : Quote(text); }

bool IsEmptyExpression(const TKestParser* expression) { return !expression || expression->Count() == 0; }

class PageDumper {
 public:
  PageDumper(const TPage& page, const std::function<const TPage*(std::string_view)>& find_page)
      : page_(page), find_page_(find_page) {}

  std::string Dump() {
    // Settings at their defaults are left out, so that commands can stand on their own lines.
    if (page_.Version != kNewestPageVersion) Line("page-version " + std::to_string(page_.Version));
    if (page_.Version > kNewestPageVersion || page_.Version < kOldestPageVersion) return out_;
    if (page_.ResultType != 1)
      Line("result-type " + (page_.ResultType >= 1 && page_.ResultType <= 4 ? std::string(kVariableTypes[page_.ResultType])
                                                                             : std::to_string(page_.ResultType)));
    PropertySets();
    for (std::size_t i = 0; i < page_.Commands.size(); ++i) Command(i);
    return out_;
  }

 private:
  void Line(const std::string& cp932_line) {
    out_ += ToOutput(cp932_line) + "\n";
    ++line_;
  }

  // The property sets are written out only when the ones the commands imply differ.
  void PropertySets() {
    TPage implied;
    for (const auto& command : page_.Commands)
      for (std::size_t f = 0; f < command->Fields.size(); ++f)
        if (command->Spec().fields[f].kind == FieldKind::Properties && command->Fields[f].present)
          for (std::size_t id = 0; id < command->Fields[f].properties.size(); ++id)
            if (!IsEmptyExpression(command->Fields[f].properties[id].get())) implied.SetProperty(command->CommandType(), id);
    implied.StorePropertySets();
    if (implied.StoredSets == page_.StoredSets && page_.StoredSetCount == implied.StoredSetCount &&
        page_.StoredSetSize == implied.StoredSetSize)
      return;
    Line("property-sets " + std::to_string(page_.StoredSetCount) + " " + std::to_string(page_.StoredSetSize));
    const auto size = static_cast<std::size_t>(page_.StoredSetSize);
    for (std::size_t k = 0; k < static_cast<std::size_t>(page_.StoredSetCount); ++k) {
      const auto begin = page_.StoredSets.begin() + static_cast<std::ptrdiff_t>(k * size);
      if (std::all_of(begin, begin + static_cast<std::ptrdiff_t>(size), [](std::uint8_t b) { return b == 0; })) continue;
      std::string hex;
      for (std::size_t i = 0; i < size; ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", page_.StoredSets[k * size + i]);
        hex += digits;
      }
      Line("property-set " + std::to_string(k) + " " + hex);
    }
  }

  std::string PageReferenceText(const std::string& page_name, std::int32_t target, bool has_target) {
    std::string text = StringValue(page_name);
    if (page_name.empty() || page_name.find_first_of(":#") != std::string::npos) text = Quote(page_name);
    if (!has_target) return text;
    if (target == 0) return text;  // a page alone means its first command
    if (const TPage* target_page = find_page_(page_name);
        target_page && target >= 0 && static_cast<std::size_t>(target) < target_page->Commands.size()) {
      const TCommand& command = *target_page->Commands[static_cast<std::size_t>(target)];
      if (command.Spec().name == "Label" && target_page->FindLabel(command.Fields[0].text) == target)
        return text + ":" + StringValue(command.Fields[0].text);
    }
    return text + "#" + std::to_string(target);
  }

  void Command(std::size_t index) {
    const TCommand& command = *page_.Commands[index];
    const CommandSpec& spec = command.Spec();
    std::string prefix;
    const auto flag = [&](const std::string& text) { prefix += (prefix.empty() ? "" : " ") + text; };
    if (!command.ContinueFrame) flag("frame-end");
    if (command.Disabled) flag("disabled");
    if (command.TypeByte() != spec.id) flag("type=" + std::to_string(command.TypeByte()));
    const bool indent_written = command.Indent < 0 || command.Indent > kMaxWrittenIndent;
    if (indent_written) flag("indent=" + std::to_string(command.Indent));
    // Blank lines bring the command to its stored line number when that is close ahead.
    if (command.LineNumber >= static_cast<std::int32_t>(line_) + 1 && command.LineNumber - static_cast<std::int32_t>(line_) <= 64) {
      while (static_cast<std::int32_t>(line_) + 1 < command.LineNumber) Line("");
    } else {
      flag("line=" + std::to_string(command.LineNumber));
    }

    std::vector<std::string> arguments;
    std::size_t first_positional = 0;
    while (first_positional < spec.fields.size() && spec.fields[first_positional].keyed) ++first_positional;
    const auto argument = [&](std::size_t f, const std::string& value) {
      arguments.push_back(f == first_positional && arguments.empty() ? value
                                                                     : std::string(spec.fields[f].key) + ": " + value);
    };
    for (std::size_t f = 0; f < spec.fields.size(); ++f) {
      const FieldSpec& field_spec = spec.fields[f];
      const CommandField& field = command.Fields[f];
      if (!field.present) continue;
      switch (field_spec.kind) {
        case FieldKind::Expression: {
          const Bytes record = field.expression ? ExpressionRecord(*field.expression) : Bytes{0, 0, 0, 0};
          if (field_spec.role == FieldRole::Condition) {
            if (record != AlwaysTrueRecord()) argument(f, field.expression ? DecompileExpression(*field.expression) : "{}");
          } else if (!IsEmptyExpression(field.expression.get())) {
            argument(f, NamedWhereKnown(command, f, DecompileExpression(*field.expression)));
          }
          break;
        }
        case FieldKind::Text: argument(f, Quote(field.text)); break;
        case FieldKind::String:
          if (field_spec.role == FieldRole::PageName) {
            const bool has_target = f + 1 < spec.fields.size() && spec.fields[f + 1].role == FieldRole::Target &&
                                    command.Fields[f + 1].present;
            argument(f, PageReferenceText(field.text, has_target ? command.Fields[f + 1].number : 0, has_target));
          } else if (!field.text.empty() || f == 0) {
            argument(f, field.text.empty() ? "\"\"" : StringValue(field.text));
          }
          break;
        case FieldKind::Int:
          if (field_spec.role == FieldRole::Target) break;  // written with its page
          if (field_spec.role == FieldRole::Plain ? field.number != 0
                                                  : field.number != ImpliedIndex(page_, index, field_spec.role))
            argument(f, std::to_string(field.number));
          break;
        case FieldKind::Byte:
          if (field_spec.role == FieldRole::VariableType && field.number >= 1 && field.number <= 4) {
            if (field.number != 1) argument(f, std::string(kVariableTypes[field.number]));
          } else if (field_spec.role == FieldRole::VariableScope && field.number >= 0 && field.number <= 3) {
            if (field.number != 0) argument(f, std::string(kVariableScopes[field.number]));
          } else if (field.number != 0 || field_spec.role == FieldRole::VariableType) {
            argument(f, std::to_string(field.number));
          }
          break;
        case FieldKind::ExpressionList: {
          if (field.list.empty()) break;
          std::string list = "(";
          for (std::size_t i = 0; i < field.list.size(); ++i) list += (i ? ", " : "") + DecompileExpression(*field.list[i]);
          argument(f, list + ")");
          break;
        }
        case FieldKind::Properties:
          for (std::size_t id = 0; id < field.properties.size(); ++id)
            if (!IsEmptyExpression(field.properties[id].get()))
              arguments.push_back(std::string(kProperties[id].name) + ": " +
                                  NameOrText(DecompileExpression(*field.properties[id]), ConstantTable::kPropertyValue, id));
          break;
      }
    }
    std::string text = indent_written ? std::string() : std::string(static_cast<std::size_t>(command.Indent) * 2, ' ');
    if (!prefix.empty()) text += "[" + prefix + "] ";
    text += spec.name;
    for (std::size_t a = 0; a < arguments.size(); ++a) text += (a ? ", " : " ") + arguments[a];
    Line(text);
  }

  // An expression's text with a plain number written as its constant's name, where the field
  // says which table the number comes from: a property id, or a property's value after it.
  static std::string NamedWhereKnown(const TCommand& command, std::size_t f, const std::string& text) {
    const FieldRole role = command.Spec().fields[f].role;
    if (role != FieldRole::PropertyValue) return NameOrText(text, TableOfRole(role));
    for (std::size_t other = 0; other < command.Fields.size(); ++other) {
      const CommandField& property = command.Fields[other];
      if (command.Spec().fields[other].role != FieldRole::PropertyId || !property.expression) continue;
      const std::optional<std::int32_t> id = PlainInteger(DecompileExpression(*property.expression));
      if (id && *id >= 0) return NameOrText(text, ConstantTable::kPropertyValue, static_cast<std::size_t>(*id));
    }
    return text;
  }

  const TPage& page_;
  const std::function<const TPage*(std::string_view)>& find_page_;
  std::string out_;
  std::size_t line_ = 0;  // lines written so far
};

}  // namespace

CompiledPage CompilePageSource(std::string_view utf8, const std::string& file, const std::string& page_name,
                               SourceErrors& errors) {
  const std::size_t errors_before = errors.Count();
  CompiledPage page = PageCompiler(file, page_name, errors).Compile(utf8);
  page.has_errors = errors.Count() != errors_before;
  return page;
}

CompiledPage CompilePageSource(std::string_view utf8, const std::string& file, const std::string& page_name) {
  SourceErrors errors;
  CompiledPage page = CompilePageSource(utf8, file, page_name, errors);
  errors.ThrowFirst();
  return page;
}

void ResolveTargets(std::map<std::string, CompiledPage>& pages, SourceErrors& errors) {
  for (auto& entry : pages) {
    CompiledPage& compiled = entry.second;  // a plain reference: lambdas below capture it
    for (const CompiledPage::PendingTarget& pending : compiled.pending) {
      const Place place{&compiled.file, &pending.line, pending.offset};
      const auto target = std::find_if(pages.begin(), pages.end(),
                                       [&](const auto& entry) { return cp932::SameText(entry.first, pending.page_name); });
      // A page with errors lost the lines that failed, perhaps the label itself: a reference to
      // it would only repeat an error already reported.
      if (target != pages.end() && target->second.has_errors) continue;
      errors.Catch([&] {
        if (target == pages.end()) place.Fail(0, "no page " + ToOutput(pending.page_name) + " in this title");
        const std::int32_t index = target->second.page->FindLabel(pending.label);
        if (index < 0) place.Fail(0, "no label " + ToOutput(pending.label) + " in " + ToOutput(pending.page_name));
        compiled.page->Commands[pending.command]->Fields[pending.field].number = index;
      });
    }
    compiled.pending.clear();
  }
}

void ResolveTargets(std::map<std::string, CompiledPage>& pages) {
  SourceErrors errors;
  ResolveTargets(pages, errors);
  errors.ThrowFirst();
}

std::string DumpPageSource(const TPage& page, const std::function<const TPage*(std::string_view)>& find_page) {
  return PageDumper(page, find_page).Dump();
}

}  // namespace kest::source
