// The variable and array functions, and Calc. A "variable argument" is an operand naming a
// variable; the four functions that insist on one (GetArraySize, SetArray, FillMem, CopyMem)
// fail without it, the others work on whatever they are given (a literal then changes only a
// scratch copy).

#include <algorithm>
#include <vector>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/cp932.h"
#include "params/expression_compile.h"
#include "params/kest_parser.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"

namespace kest {

namespace {

// Element `to` of `target` := element `from` of `source`, read and written in the target's type.
void CopyElement(TCustomParam& target, std::int32_t to, const TCustomParam& source, std::int32_t from) {
  switch (target.ParamType()) {
    case PT_INT: target.SetIntAt(to, source.GetIntAt(from)); break;
    case PT_FLOAT: target.SetFloatAt(to, source.GetFloatAt(from)); break;
    case PT_BOOL: target.SetBoolAt(to, source.GetBoolAt(from)); break;
    default: target.SetStrAt(to, source.GetStrAt(from)); break;
  }
}

void SetOneDimension(TCustomParam& value, std::int64_t size) {
  const std::int32_t sizes[] = {static_cast<std::int32_t>(std::clamp<std::int64_t>(size, INT32_MIN, INT32_MAX))};
  value.SetDims(sizes);
}

// v := array of the strings (SetDims([n]) then SetStrAt), or "" as a scalar when there are none.
void SetStringArray(TCustomParam& value, const std::vector<std::string>& pieces) {
  if (pieces.empty()) {
    value.ClearDims();  // whole-value, also through a reference, so the variable ends a scalar
    return value.SetStr("");
  }
  SetOneDimension(value, static_cast<std::int64_t>(pieces.size()));
  for (std::size_t i = 0; i < pieces.size(); ++i) value.SetStrAt(static_cast<std::int32_t>(i), pieces[i]);
}

void GetArraySize(const FunctionCall& call) {
  TCustomParam& value = call.Variable(0);
  if (!call.Has(1)) return call.ResultInt(value.Count());
  call.ResultInt(value.DimSize(static_cast<std::int32_t>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(value.DimCount()) - 1 - call.Int(1), INT32_MIN, INT32_MAX))));
}

void SetArray(const FunctionCall& call) {
  TCustomParam& value = call.Variable(0);
  std::vector<std::int32_t> sizes;
  for (std::size_t i = 1; i < call.args.size(); ++i) sizes.push_back(call.Int(i));
  value.SetDims(sizes);
}

void FillMem(const FunctionCall& call) {
  TCustomParam& value = call.Variable(0);
  switch (value.ParamType()) {
    case PT_INT: value.FillInt(call.Int(1)); break;
    case PT_FLOAT: value.FillFloat(call.Float(1)); break;
    case PT_BOOL: value.FillBool(call.Bool(1)); break;
    case PT_STR: value.FillStr(call.Str(1)); break;
    default: break;
  }
}

void CopyMem(const FunctionCall& call) {
  TCustomParam& target = call.Variable(0);
  target.CopyMem(call.Variable(1));
}

void ArrayToString(const FunctionCall& call) {
  const TCustomParam& value = call.Arg(0);
  const std::string separator = call.Has(1) ? call.Str(1) : std::string("\r\n");
  std::string text;
  for (std::int32_t i = 0; i < value.Count(); ++i) {
    if (i) text += separator;
    text += value.GetStrAt(i);
  }
  call.ResultStr(text);
}

// Lines end at CR, LF or CR LF; a break at the very end adds no empty line; a zero byte ends
// the text.
std::vector<std::string> SplitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

// Every byte of the separator is a delimiter; a byte that is the second of a double-byte
// character never is. Empty pieces between delimiters stay; a delimiter at the end adds none.
std::vector<std::string> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {std::string(text)};
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); i += cp932::CharLength(text, i)) {
    if (cp932::CharLength(text, i) != 1 || separator.find(text[i]) == std::string_view::npos) continue;
    pieces.emplace_back(text.substr(start, i - start));
    start = i + 1;
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

void StringToArray(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::string separator = call.Has(2) ? call.Str(2) : std::string("\r\n");
  SetStringArray(call.Modifiable(1), separator == "\r\n" ? SplitLines(text) : SplitAt(text, separator));
}

void IndexOfStr(const FunctionCall& call) {
  const CaseSensitivity sensitivity =
      !call.Has(2) || call.Bool(2) ? CaseSensitivity::Sensitive : CaseSensitivity::Insensitive;
  const MatchMode mode = call.Has(3) && call.Bool(3) ? MatchMode::Partial : MatchMode::Whole;
  call.ResultInt(call.Arg(0).IndexOf(call.Str(1), sensitivity, mode));
}

void SortStr(const FunctionCall& call) {
  TCustomParam& value = call.Modifiable(0);
  std::vector<std::string> elements;
  for (std::int32_t i = 0; i < value.Count(); ++i) elements.push_back(value.GetStrAt(i));
  std::stable_sort(elements.begin(), elements.end(),
                   [](const std::string& a, const std::string& b) { return cp932::CompareText(a, b) < 0; });
  for (std::size_t i = 0; i < elements.size(); ++i) value.SetStrAt(static_cast<std::int32_t>(i), elements[i]);
}

void VarExists(const FunctionCall& call) { call.ResultBool(call.store.Find(call.Str(0)) != nullptr); }

void AddArray(const FunctionCall& call) {
  TCustomParam& target = call.Modifiable(0);
  const TCustomParam& source = call.Arg(1);
  const std::int32_t a = target.Count(), b = source.Count();
  if (target.DimCount() >= 2 || source.DimCount() >= 2) return call.ResultInt(a);
  SetOneDimension(target, static_cast<std::int64_t>(a) + b);
  for (std::int32_t i = 0; i < b; ++i) CopyElement(target, a + i, source, i);
  call.ResultInt(a + b);
}

void InsertArray(const FunctionCall& call) {
  TCustomParam& target = call.Modifiable(0);
  const TCustomParam& source = call.Arg(2);
  const std::int32_t a = target.Count(), c = source.Count();
  if (target.DimCount() >= 2 || source.DimCount() >= 2) return call.ResultInt(a);
  const std::int32_t position = std::clamp(call.Int(1), 0, a);
  SetOneDimension(target, static_cast<std::int64_t>(a) + c);
  for (std::int32_t i = a - 1; i >= position; --i) CopyElement(target, i + c, target, i);  // highest first
  for (std::int32_t i = 0; i < c; ++i) CopyElement(target, position + i, source, i);
  call.ResultInt(a + c);
}

void DeleteArray(const FunctionCall& call) {
  TCustomParam& target = call.Modifiable(0);
  const std::int32_t a = target.Count();
  if (target.DimCount() >= 2) return call.ResultInt(a);
  const std::int32_t position = std::clamp(call.Int(1), 0, std::max(a - 1, 0));
  const std::int32_t count = std::min(call.Int(2), a - position);
  if (count < 0) return call.ResultInt(a);  // a negative count changes nothing
  for (std::int32_t i = position + count; i < a; ++i) CopyElement(target, i - count, target, i);  // lowest first
  SetOneDimension(target, static_cast<std::int64_t>(a) - count);  // deleting all fails here, after the moves
  call.ResultInt(a - count);
}

void CopyArray(const FunctionCall& call) {
  TCustomParam& target = call.Modifiable(0);
  const TCustomParam& source = call.Arg(1);
  std::vector<std::int32_t> shape(static_cast<std::size_t>(std::max(source.DimCount(), 0)));
  for (std::size_t d = 0; d < shape.size(); ++d) shape[d] = source.DimSize(static_cast<std::int32_t>(d));
  target.SetDims(shape);
  const std::int32_t count = std::min(source.Count(), target.Count());
  for (std::int32_t i = 0; i < count; ++i) CopyElement(target, i, source, i);
  call.ResultBool(true);
}

void AssignTemp(const FunctionCall& call) {
  const std::string name = call.Str(0);
  if (name.empty() || !call.store.Find(name)) return call.ResultBool(false);
  call.store.Values().temp_name = name;
  call.ResultBool(true);
}

void GetVarType(const FunctionCall& call) { call.ResultInt(call.Arg(0).ParamType()); }

void Calc(const FunctionCall& call) {
  std::string text = call.Str(0);
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  if (begin == end) return;
  call.functions.EnterCalc();
  struct Leave {
    TSysFuncMan& functions;
    ~Leave() { functions.LeaveCalc(); }
  } leave{call.functions};
  // Compiled and stored exactly as a page stores an expression, then loaded and run; compile
  // errors reach the calling expression, errors of the run stay inside it.
  CompileExpressionToRun(std::string_view(text).substr(begin, end - begin), "Calc")
      ->Execute(call.store, call.functions);
  call.ResultBool(true);
}

}  // namespace

void AddVariableFunctions(FunctionHandlers& handlers) {
  handlers[4] = GetArraySize;
  handlers[21] = SetArray;
  handlers[22] = FillMem;
  handlers[23] = CopyMem;
  handlers[28] = ArrayToString;
  handlers[29] = StringToArray;
  handlers[30] = IndexOfStr;
  handlers[31] = SortStr;
  handlers[50] = VarExists;
  handlers[66] = AddArray;
  handlers[67] = InsertArray;
  handlers[68] = DeleteArray;
  handlers[70] = CopyArray;
  handlers[84] = AssignTemp;
  handlers[130] = GetVarType;
  handlers[136] = Calc;
}

}  // namespace kest
