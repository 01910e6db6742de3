// The string functions. Functions whose names begin with "J" count characters (a lead byte and
// its trail byte are one), the others bytes; positions are 1-based.

#include <algorithm>
#include <cstdint>

#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "params/conversions.h"
#include "params/messages.h"
#include "params/sys_func_man.h"

namespace kest {

namespace {

// Longest text a function builds by repeating or padding; a script asking for more gets an
// error instead of exhausting memory.
constexpr std::int64_t kMaxBuiltText = 1 << 24;

void CheckLength(std::int64_t length) {
  if (length > kMaxBuiltText)
    throw KestError(FillMessage(Message(ParamsMessage::StringTooLong), {std::to_string(kMaxBuiltText)}));
}

// Byte offsets of the characters of a text, and the text's length as a last entry.
std::vector<std::size_t> CharOffsets(std::string_view text) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < text.size(); i += cp932::CharLength(text, i)) offsets.push_back(i);
  offsets.push_back(text.size());
  return offsets;
}

std::string PadDigits(std::string digits, std::int32_t width, bool negative) {
  const std::int64_t wanted = std::max<std::int64_t>(width, 0);
  CheckLength(wanted);
  if (static_cast<std::int64_t>(digits.size()) < wanted) digits.insert(0, static_cast<std::size_t>(wanted) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

void IntToStr(const FunctionCall& call) {
  const std::int32_t value = call.Int(0);
  if (!call.Has(1)) return call.ResultStr(IntToText(value));
  const auto magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  call.ResultStr(PadDigits(std::to_string(magnitude), call.Int(1), value < 0));
}

void IntToHex(const FunctionCall& call) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  auto pattern = static_cast<std::uint32_t>(call.Int(0));
  std::string digits;
  do {
    digits.insert(digits.begin(), kHex[pattern & 15]);
    pattern >>= 4;
  } while (pattern);
  call.ResultStr(PadDigits(std::move(digits), call.Int(1), false));
}

void Length(const FunctionCall& call) { call.ResultInt(static_cast<std::int32_t>(call.Str(0).size())); }
void JLength(const FunctionCall& call) { call.ResultInt(static_cast<std::int32_t>(cp932::CharCount(call.Str(0)))); }

void Copy(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::int64_t start = std::max<std::int64_t>(call.Int(1), 1);
  const std::int64_t count = call.Has(2) ? call.Int(2) : static_cast<std::int64_t>(text.size());
  if (start > static_cast<std::int64_t>(text.size()) || count < 0) return call.ResultStr("");
  call.ResultStr(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

// Characters whose number j (from 1) satisfies first <= j <= last.
std::string CharRange(std::string_view text, std::int64_t first, std::int64_t last) {
  const std::vector<std::size_t> offsets = CharOffsets(text);
  const auto chars = static_cast<std::int64_t>(offsets.size()) - 1;
  first = std::max<std::int64_t>(first, 1);
  last = std::min(last, chars);
  if (first > last) return {};
  return std::string(text.substr(offsets[static_cast<std::size_t>(first - 1)],
                                 offsets[static_cast<std::size_t>(last)] - offsets[static_cast<std::size_t>(first - 1)]));
}

void JCopy(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::int64_t start = call.Int(1);
  if (call.Has(2) && call.Int(2) < 1) return call.ResultStr("");
  const std::int64_t last = call.Has(2) ? start + call.Int(2) - 1 : INT64_MAX;
  call.ResultStr(CharRange(text, start, last));
}

void Delete(const FunctionCall& call) {
  TCustomParam& target = call.Modifiable(0);
  std::string text = target.AsStr();
  const std::int64_t start = call.Int(1);
  const std::int64_t count = call.Has(2) ? call.Int(2) : static_cast<std::int64_t>(text.size());
  if (start < 1 || start > static_cast<std::int64_t>(text.size()) || count <= 0) return;
  text.erase(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
  target.SetStr(text);
}

void JDelete(const FunctionCall& call) {
  TCustomParam& target = call.Modifiable(0);
  const std::string text = target.AsStr();
  const std::vector<std::size_t> offsets = CharOffsets(text);
  const auto chars = static_cast<std::int64_t>(offsets.size()) - 1;
  const std::int64_t start = std::max<std::int64_t>(call.Int(1), 1);
  const std::int64_t count = call.Has(2) ? call.Int(2) : chars;
  if (start > chars || count <= 0) return;
  const std::int64_t end = std::min(start - 1 + count, chars);
  target.SetStr(text.substr(0, offsets[static_cast<std::size_t>(start - 1)]) + text.substr(offsets[static_cast<std::size_t>(end)]));
}

void Insert(const FunctionCall& call) {
  const std::string piece = call.Str(0);
  TCustomParam& target = call.Modifiable(1);
  std::string text = target.AsStr();
  const std::int64_t position = std::clamp<std::int64_t>(call.Int(2), 1, static_cast<std::int64_t>(text.size()) + 1);
  text.insert(static_cast<std::size_t>(position - 1), piece);
  target.SetStr(text);
}

void JInsert(const FunctionCall& call) {
  const std::string piece = call.Str(0);
  TCustomParam& target = call.Modifiable(1);
  std::string text = target.AsStr();
  const std::vector<std::size_t> offsets = CharOffsets(text);
  const std::int64_t position = std::clamp<std::int64_t>(call.Int(2), 1, static_cast<std::int64_t>(offsets.size()));
  text.insert(offsets[static_cast<std::size_t>(position - 1)], piece);
  target.SetStr(text);
}

// 0 when equal, else the difference of the first differing bytes, or of the lengths.
std::int32_t CompareBytes(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
  return static_cast<std::int32_t>(a.size()) - static_cast<std::int32_t>(b.size());
}

std::string AsciiUpper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

void CompareStr(const FunctionCall& call) { call.ResultInt(CompareBytes(call.Str(0), call.Str(1))); }
void CompareText(const FunctionCall& call) { call.ResultInt(CompareBytes(AsciiUpper(call.Str(0)), AsciiUpper(call.Str(1)))); }

void Pos(const FunctionCall& call) {
  const std::string needle = call.Str(0), text = call.Str(1);
  const std::size_t found = needle.empty() ? std::string::npos : text.find(needle);
  call.ResultInt(found == std::string::npos ? 0 : static_cast<std::int32_t>(found) + 1);
}

void JPos(const FunctionCall& call) {
  const std::string needle = call.Str(0), text = call.Str(1);
  if (needle.empty()) throw KestError(Message(ParamsMessage::EmptySearchText));
  const std::vector<std::size_t> offsets = CharOffsets(text);
  for (std::size_t k = 0; k + 1 < offsets.size(); ++k)
    if (text.compare(offsets[k], needle.size(), needle) == 0) return call.ResultInt(static_cast<std::int32_t>(k) + 1);
  call.ResultInt(0);
}

void Trim(const FunctionCall& call) {
  const std::string text = call.Str(0);
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  call.ResultStr(text.substr(begin, end - begin));
}

void JTrim(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::vector<std::size_t> offsets = CharOffsets(text);
  const auto is_blank = [&](std::size_t k) {
    const std::string_view c = std::string_view(text).substr(offsets[k], offsets[k + 1] - offsets[k]);
    return c == " " || c == "\x81\x40";
  };
  std::size_t first = 0, last = offsets.size() - 1;  // characters first .. last - 1 remain
  while (first < last && is_blank(first)) ++first;
  while (last > first && is_blank(last - 1)) --last;
  call.ResultStr(text.substr(offsets[first], offsets[last] - offsets[first]));
}

void FixStr(const FunctionCall& call) {
  std::string text = call.Str(0);
  if (text.size() >= 2) {
    const std::vector<std::size_t> offsets = CharOffsets(text);
    const std::size_t last = offsets[offsets.size() - 2];
    if (last == text.size() - 1 && cp932::IsLeadByte(static_cast<unsigned char>(text[last]))) text.pop_back();
  }
  call.ResultStr(text);
}

void LowerCase(const FunctionCall& call) { call.ResultStr(cp932::LowerCase(call.Str(0))); }
void UpperCase(const FunctionCall& call) { call.ResultStr(cp932::UpperCase(call.Str(0))); }

void StringOfChar(const FunctionCall& call) {
  const std::string piece = call.Str(0);
  const std::int32_t times = call.Int(1);
  if (times <= 0 || piece.empty()) return call.ResultStr("");
  CheckLength(static_cast<std::int64_t>(piece.size()) * times);
  std::string text;
  text.reserve(piece.size() * static_cast<std::size_t>(times));
  for (std::int32_t i = 0; i < times; ++i) text += piece;
  call.ResultStr(text);
}

void StringReplace(const FunctionCall& call) {
  const std::string text = call.Str(0), from = call.Str(1), to = call.Str(2);
  const bool all = call.Has(3) && call.Bool(3);
  const bool ignore_case = call.Has(4) && call.Bool(4);
  if (from.empty()) return call.ResultStr(text);
  const std::string haystack = ignore_case ? cp932::LowerCase(text) : text;
  const std::string needle = ignore_case ? cp932::LowerCase(from) : from;
  // Matches start only where a character starts, so the trail byte of a double-byte character
  // is never replaced on its own.
  std::string result;
  std::size_t i = 0;
  bool replaced = false;
  while (i < text.size()) {
    if ((!replaced || all) && haystack.compare(i, needle.size(), needle) == 0) {
      result += to;
      i += needle.size();
      replaced = true;
      continue;
    }
    const std::size_t length = cp932::CharLength(text, i);
    result.append(text, i, length);
    i += length;
  }
  call.ResultStr(result);
}

void AddDelimiter(const FunctionCall& call) {
  const std::string text = call.Str(1);
  call.ResultStr(text.empty() ? std::string() : text + call.Str(0));
}

void StrToIntDef(const FunctionCall& call) { call.ResultInt(ParseIntText(call.Str(0)).value_or(call.Int(1))); }

void StrToFloatDef(const FunctionCall& call) {
  const std::optional<long double> value = ParseFloatText(call.Str(0));
  call.ResultFloat(value ? *value : call.Float(1));
}

}  // namespace

void AddStringFunctions(FunctionHandlers& handlers) {
  handlers[0] = IntToStr;
  handlers[1] = IntToHex;
  handlers[5] = Length;
  handlers[6] = JLength;
  handlers[7] = Copy;
  handlers[8] = JCopy;
  handlers[9] = Delete;
  handlers[10] = JDelete;
  handlers[11] = Insert;
  handlers[12] = JInsert;
  handlers[13] = CompareStr;
  handlers[14] = CompareText;
  handlers[15] = Pos;
  handlers[16] = JPos;
  handlers[17] = Trim;
  handlers[18] = JTrim;
  handlers[64] = FixStr;
  handlers[73] = LowerCase;
  handlers[74] = UpperCase;
  handlers[82] = StringOfChar;
  handlers[83] = StringReplace;
  handlers[133] = AddDelimiter;
  handlers[138] = StrToIntDef;
  handlers[139] = StrToFloatDef;
  // 85 HanToZen and 86 ZenToHan need the width conversion tables, which are not built yet.
}

}  // namespace kest
