// The number functions (reals are checked to stay finite) and the file-name functions, which
// take "\" and ":" as path delimiters and never mistake a trail byte for one.

#include <algorithm>
#include <cmath>

#include "core/arith.h"
#include "core/cp932.h"
#include "params/sys_func_man.h"

namespace kest {

namespace {

void Not(const FunctionCall& call) { call.ResultBool(!call.Bool(0)); }
void Random(const FunctionCall& call) { call.ResultInt(call.functions.Random(call.Int(0))); }
void Int(const FunctionCall& call) { call.ResultInt(TruncateToLow32(call.Float(0))); }
void Float(const FunctionCall& call) { call.ResultFloat(call.Float(0)); }

template <long double (*F)(long double)>
void Unary(const FunctionCall& call) {
  call.ResultFloat(F(call.Float(0)));
}

void ArcTan2(const FunctionCall& call) { call.ResultFloat(std::atan2(call.Float(0), call.Float(1))); }
void Hypot(const FunctionCall& call) { call.ResultFloat(std::hypot(call.Float(0), call.Float(1))); }
void Abs(const FunctionCall& call) {
  const std::int32_t value = call.Int(0);
  call.ResultInt(value < 0 ? wrap::Neg(value) : value);
}
void Fabs(const FunctionCall& call) { call.ResultFloat(std::fabs(call.Float(0))); }
void Min(const FunctionCall& call) { call.ResultInt(std::min(call.Int(0), call.Int(1))); }
void Max(const FunctionCall& call) { call.ResultInt(std::max(call.Int(0), call.Int(1))); }
void Fmin(const FunctionCall& call) {
  const long double a = call.Float(0), b = call.Float(1);
  call.ResultFloat(b < a ? b : a);
}
void Fmax(const FunctionCall& call) {
  const long double a = call.Float(0), b = call.Float(1);
  call.ResultFloat(a < b ? b : a);
}

long double Sinl(long double x) { return std::sin(x); }
long double Cosl(long double x) { return std::cos(x); }
long double Tanl(long double x) { return std::tan(x); }
long double ArcSinl(long double x) { return std::asin(x); }
long double ArcCosl(long double x) { return std::acos(x); }
long double ArcTanl(long double x) { return std::atan(x); }

// True when byte `index` (from 0) starts a character and is a single-byte one.
bool IsSingleByteAt(std::string_view text, std::size_t index) {
  for (std::size_t i = 0; i < text.size(); i += cp932::CharLength(text, i))
    if (i == index) return !cp932::IsLeadByte(static_cast<unsigned char>(text[i]));
    else if (i > index) return false;
  return false;
}

// Byte offset of the last single-byte character that is one of `delimiters`, or npos.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < text.size(); i += cp932::CharLength(text, i))
    if (cp932::CharLength(text, i) == 1 && delimiters.find(text[i]) != std::string_view::npos) last = i;
  return last;
}

std::size_t ExtensionStart(std::string_view text) {
  const std::size_t found = LastDelimiter(text, "\\:.");
  return found != std::string::npos && text[found] == '.' ? found : std::string::npos;
}

void ExtractFilePath(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::size_t found = LastDelimiter(text, "\\:");
  call.ResultStr(found == std::string::npos ? std::string() : text.substr(0, found + 1));
}

void ExtractFileName(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::size_t found = LastDelimiter(text, "\\:");
  call.ResultStr(found == std::string::npos ? text : text.substr(found + 1));
}

void ExtractFileExt(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::size_t found = ExtensionStart(text);
  call.ResultStr(found == std::string::npos ? std::string() : text.substr(found));
}

void IsPathDelimiter(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::int64_t index = static_cast<std::int64_t>(call.Int(1)) - 1;
  call.ResultBool(index >= 0 && index < static_cast<std::int64_t>(text.size()) &&
                  text[static_cast<std::size_t>(index)] == '\\' && IsSingleByteAt(text, static_cast<std::size_t>(index)));
}

void AddBackSlash(const FunctionCall& call) {
  std::string text = call.Str(0);
  if (text.empty() || !(text.back() == '\\' && IsSingleByteAt(text, text.size() - 1))) text += '\\';
  call.ResultStr(text);
}

void ChangeFileExt(const FunctionCall& call) {
  const std::string text = call.Str(0);
  const std::size_t found = ExtensionStart(text);
  call.ResultStr((found == std::string::npos ? text : text.substr(0, found)) + call.Str(1));
}

void IsDelimiter(const FunctionCall& call) {
  const std::string delimiters = call.Str(0), text = call.Str(1);
  const std::int64_t index = static_cast<std::int64_t>(call.Int(2)) - 1;
  call.ResultBool(index >= 0 && index < static_cast<std::int64_t>(text.size()) &&
                  IsSingleByteAt(text, static_cast<std::size_t>(index)) &&
                  delimiters.find(text[static_cast<std::size_t>(index)]) != std::string::npos);
}

}  // namespace

void AddNumberFunctions(FunctionHandlers& handlers) {
  handlers[20] = Not;
  handlers[26] = Random;
  handlers[37] = Int;
  handlers[38] = Float;
  handlers[39] = Unary<Sinl>;
  handlers[40] = Unary<Cosl>;
  handlers[41] = Unary<Tanl>;
  handlers[42] = Unary<ArcSinl>;
  handlers[43] = Unary<ArcCosl>;
  handlers[44] = Unary<ArcTanl>;
  handlers[45] = ArcTan2;
  handlers[46] = Hypot;
  handlers[48] = Abs;
  handlers[49] = Fabs;
  handlers[126] = Min;
  handlers[127] = Max;
  handlers[128] = Fmin;
  handlers[129] = Fmax;
  handlers[75] = ExtractFilePath;
  handlers[76] = ExtractFileName;
  handlers[77] = ExtractFileExt;
  handlers[78] = IsPathDelimiter;
  handlers[79] = AddBackSlash;
  handlers[80] = ChangeFileExt;
  handlers[81] = IsDelimiter;
}

}  // namespace kest
