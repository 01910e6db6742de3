#include "source/expression_text.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "core/extended.h"
#include "params/expression_compile.h"
#include "params/conversions.h"
#include "params/expression_ops.h"
#include "params/function_table.h"
#include "params/param_var.h"
#include "source/constant_names.h"

namespace kest::source {

namespace {

// --- compiling -------------------------------------------------------------------------------

// The braces form, written straight into a record.
class RawExpressionReader {
 public:
  RawExpressionReader(std::string_view text, const Place& place) : text_(text), place_(place) {}

  Bytes Read() {
    // text_ is "{...}"; operations are separated by ";" outside quotes.
    std::vector<std::pair<std::string, std::size_t>> ops;
    std::size_t start = 1;
    for (std::size_t i = 1; i + 1 < text_.size();) {
      const std::size_t length = cp932::CharLength(text_, i);
      if (length == 1 && text_[i] == '"') {
        std::size_t consumed = 0;
        ParseQuoted(text_.substr(i), consumed, place_.At(i));
        i += consumed;
        continue;
      }
      if (length == 1 && text_[i] == ';') {
        ops.emplace_back(std::string(text_.substr(start, i - start)), start);
        start = i + 1;
      }
      i += length;
    }
    ops.emplace_back(std::string(text_.substr(start, text_.size() - 1 - start)), start);
    if (ops.size() == 1 && Trim(ops[0].first).empty()) ops.clear();

    ByteWriter out;
    out.I32(static_cast<std::int32_t>(ops.size()));
    for (const auto& [op, offset] : ops) WriteOperation(op, offset, out);
    return out.Take();
  }

 private:
  // Splits at blanks outside quotes.
  std::vector<std::pair<std::string, std::size_t>> Tokens(const std::string& op, std::size_t base) {
    std::vector<std::pair<std::string, std::size_t>> tokens;
    for (std::size_t i = 0; i < op.size();) {
      if (op[i] == ' ') {
        ++i;
        continue;
      }
      const std::size_t begin = i;
      while (i < op.size() && op[i] != ' ') {
        const std::size_t length = cp932::CharLength(op, i);
        if (length == 1 && op[i] == '"') {
          std::size_t consumed = 0;
          ParseQuoted(std::string_view(op).substr(i), consumed, place_.At(base + i));
          i += consumed;
        } else {
          i += length;
        }
      }
      tokens.emplace_back(op.substr(begin, i - begin), base + begin);
    }
    return tokens;
  }

  std::string Name(const std::string& token, std::size_t at) {
    if (!token.empty() && token[0] == '"') {
      std::size_t consumed = 0;
      std::string value = ParseQuoted(token, consumed, place_.At(at));
      if (consumed != token.size()) place_.Fail(at + consumed, "unexpected text after the name");
      return value;
    }
    return token;
  }

  std::int64_t Number(const std::string& text, std::size_t at, std::int64_t low, std::int64_t high) {
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
      place_.Fail(at, "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    return value;
  }

  void WriteOperation(const std::string& op, std::size_t base, ByteWriter& out) {
    const auto tokens = Tokens(op, base);
    if (tokens.size() < 2) place_.Fail(base, "an operation needs an operator and a destination");
    std::int64_t code = -1;
    for (std::size_t c = 0; c < kOpCodeNames.size(); ++c)
      if (kOpCodeNames[c] == tokens[0].first) code = static_cast<std::int64_t>(c);
    if (code < 0) code = Number(tokens[0].first, tokens[0].second, 0, 255);
    out.U8(static_cast<std::uint8_t>(code));
    out.LString(Name(tokens[1].first, tokens[1].second));

    std::size_t first_operand = 2;
    std::optional<std::uint8_t> function;
    if (tokens.size() > 2 && tokens[2].first.rfind("fn:", 0) == 0) {
      function = static_cast<std::uint8_t>(Number(tokens[2].first.substr(3), tokens[2].second + 3, 0, 255));
      first_operand = 3;
    }
    if (code == ocFunc && !function) place_.Fail(tokens[1].second, "a function call needs fn:NUMBER");
    out.I32(static_cast<std::int32_t>(tokens.size() - first_operand));
    if (code == ocFunc) out.U8(*function);
    for (std::size_t t = first_operand; t < tokens.size(); ++t) WriteOperand(tokens[t].first, tokens[t].second, out);
  }

  void WriteOperand(const std::string& token, std::size_t at, ByteWriter& out) {
    const std::size_t colon = token.find(':');
    if (colon == std::string::npos) place_.Fail(at, "an operand is KIND:VALUE (i, f, b, s or v)");
    const std::string kind = token.substr(0, colon), value = token.substr(colon + 1);
    const std::size_t value_at = at + colon + 1;
    if (kind == "i") {
      out.U8(PT_INT);
      out.I32(static_cast<std::int32_t>(Number(value, value_at, INT32_MIN, INT32_MAX)));
    } else if (kind == "f") {
      if (value.size() != 20) place_.Fail(value_at, "a real is its 10 stored bytes in 20 hexadecimal digits");
      out.U8(PT_FLOAT);
      for (std::size_t i = 0; i < 20; i += 2) {
        unsigned byte = 0;
        if (std::sscanf(value.c_str() + i, "%2x", &byte) != 1) place_.Fail(value_at + i, "not a hexadecimal digit");
        out.U8(static_cast<std::uint8_t>(byte));
      }
    } else if (kind == "b") {
      out.U8(PT_BOOL);
      out.U8(static_cast<std::uint8_t>(Number(value, value_at, 0, 255)));
    } else if (kind == "s" || kind == "v") {
      out.U8(kind == "s" ? PT_STR : PT_NONE);
      out.LString(Name(value, value_at));
    } else {
      place_.Fail(at, "unknown operand kind '" + kind + "'");
    }
  }

  std::string_view text_;
  const Place& place_;
};

// --- decompiling -----------------------------------------------------------------------------

struct Piece {
  std::string text;
  int level = 0;  // precedence level of the outermost operator; 0 for a single operand
};

int LevelOf(OpCode code) {
  for (const InfixOperator& op : kInfixOperators)
    if (op.code == code) return op.level;
  return 0;
}

std::string_view SymbolOf(OpCode code) {
  for (const InfixOperator& op : kInfixOperators)
    if (op.code == code) return op.symbol;
  return {};
}

// A string literal of the expression language: \" \\ and \n (CR LF) are its only escapes, so a
// text with a lone CR or LF has no literal.
std::optional<std::string> StringLiteral(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932::CharLength(text, i);
    if (length == 1 && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\\n";
      i += 2;
      continue;
    }
    if (length == 1 && (text[i] == '\r' || text[i] == '\n')) return std::nullopt;
    if (length == 1 && (text[i] == '"' || text[i] == '\\')) out += '\\';
    out.append(text.substr(i, length));
    i += length;
  }
  return out + "\"";
}

std::optional<std::string> RealLiteral(long double value) {
  for (int precision : {15, 17, 18, 19, 20, 21}) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*Lg", precision, value);
    const std::optional<long double> back = ParseFloatText(text);
    if (!back || std::memcmp(&*back, &value, 10) != 0) continue;
    std::string literal = text;
    if (ParseIntText(literal)) literal += ".0";  // "3" would compile as an integer
    return literal;
  }
  return std::nullopt;
}

class Decompiler {
 public:
  explicit Decompiler(bool parenthesise_all) : parenthesise_all_(parenthesise_all) {}

  std::optional<std::string> Run(const TKestParser& expression) {
    std::optional<std::string> result;
    for (std::size_t i = 0; i < expression.Count(); ++i) {
      if (result) return std::nullopt;  // nothing may follow the value or the assignment
      const TOpeData& op = expression[i];
      std::vector<Piece> operands;
      for (const auto& operand : op.operands) {
        std::optional<Piece> piece = Operand(*operand);
        if (!piece) return std::nullopt;
        operands.push_back(std::move(*piece));
      }
      const bool into_temp = op.dest.rfind(kTempPrefix, 0) == 0 && op.dest != kResultTemp;
      std::optional<Piece> value = Combine(op, operands);
      if (!value) return std::nullopt;
      if (op.dest == kResultTemp) {
        if (op.op_code != ocTo) return std::nullopt;
        result = value->text;
      } else if (into_temp) {
        temps_[op.dest] = std::move(*value);
      } else {
        if (op.op_code != ocTo) return std::nullopt;
        result = op.dest + " = " + value->text;
      }
    }
    return result;
  }

 private:
  std::optional<Piece> Operand(const TCustomParam& operand) {
    switch (operand.ParamType()) {
      case PT_INT: return Piece{IntToText(operand.AsInt())};
      case PT_FLOAT: {
        std::optional<std::string> literal = RealLiteral(operand.AsFloat());
        if (!literal) return std::nullopt;
        return Piece{*literal};
      }
      case PT_BOOL: return Piece{operand.AsBool() ? "TRUE" : "FALSE"};
      case PT_STR: {
        std::optional<std::string> literal = StringLiteral(operand.AsStr());
        if (!literal) return std::nullopt;
        return Piece{*literal};
      }
      default: break;
    }
    const auto* reference = dynamic_cast<const TParamVar*>(&operand);
    if (!reference) return std::nullopt;
    const auto found = temps_.find(reference->RefName());
    if (found != temps_.end()) return found->second;
    return Piece{reference->RefName()};
  }

  std::optional<Piece> Combine(const TOpeData& op, const std::vector<Piece>& operands) {
    switch (op.op_code) {
      case ocTo:
        if (operands.size() != 1) return std::nullopt;
        return operands[0];
      case ocFunc: {
        if (op.func_index >= kFunctionCount) return std::nullopt;
        std::string text = std::string(kFunctions[op.func_index].name) + "(";
        for (std::size_t i = 0; i < operands.size(); ++i) text += (i ? ", " : "") + operands[i].text;
        return Piece{text + ")"};
      }
      case ocDimTo: {
        if (operands.size() < 2) return std::nullopt;
        std::string text = operands[0].text + "[";
        for (std::size_t i = 1; i < operands.size(); ++i) text += (i > 1 ? ", " : "") + operands[i].text;
        return Piece{text + "]"};
      }
      default: break;
    }
    const int level = LevelOf(static_cast<OpCode>(op.op_code));
    if (level == 0 || operands.size() != 2) return std::nullopt;
    // Operators associate to the left: a right operand of the same level needs parentheses.
    const auto wrap = [&](const Piece& piece, bool needed) {
      return needed || (parenthesise_all_ && piece.level > 0) ? "(" + piece.text + ")" : piece.text;
    };
    return Piece{wrap(operands[0], operands[0].level > level) + " " + std::string(SymbolOf(static_cast<OpCode>(op.op_code))) +
                     " " + wrap(operands[1], operands[1].level >= level),
                 level};
  }

  bool parenthesise_all_;
  std::unordered_map<std::string, Piece> temps_;
};

std::string RawForm(const TKestParser& expression) {
  std::string out = "{";
  for (std::size_t i = 0; i < expression.Count(); ++i) {
    const TOpeData& op = expression[i];
    if (i) out += "; ";
    out += op.op_code <= kLastOpCode ? std::string(kOpCodeNames[op.op_code]) : std::to_string(op.op_code);
    out += " " + Quote(op.dest);
    if (op.op_code == ocFunc) out += " fn:" + std::to_string(op.func_index);
    for (const auto& operand : op.operands) {
      switch (operand->ParamType()) {
        case PT_INT: out += " i:" + std::to_string(operand->AsInt()); break;
        case PT_FLOAT: {
          out += " f:";
          for (std::uint8_t byte : ExtendedToBytes(operand->AsFloat())) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", byte);
            out += hex;
          }
          break;
        }
        case PT_BOOL: out += operand->AsBool() ? " b:1" : " b:0"; break;
        case PT_STR: out += " s:" + Quote(operand->AsStr()); break;
        default: {
          const auto* reference = dynamic_cast<const TParamVar*>(operand.get());
          out += " v:" + Quote(reference ? reference->RefName() : std::string());
        }
      }
    }
  }
  return out + "}";
}

// The player's compiler on title source's text, with constant names replaced by their numbers:
// its errors are KestErrors with the player's messages.
std::optional<Bytes> CompileText(std::string_view text) {
  try {
    return CompileExpressionRecord(ReplaceConstantNames(text));
  } catch (const KestError&) {
    return std::nullopt;
  }
}

}  // namespace

Bytes CompileExpression(std::string_view text, const Place& place) {
  if (!text.empty() && text.front() == '{') {
    if (text.back() != '}') place.Fail(0, "an operation list ends with '}'");
    return RawExpressionReader(text, place).Read();
  }
  try {
    return CompileExpressionRecord(ReplaceConstantNames(text));
  } catch (const KestError& error) {
    place.Fail(0, cp932::ToUtf8Message(error.what()));
  }
}

Bytes ExpressionRecord(const TKestParser& expression) {
  ByteWriter out;
  expression.SaveToStream(out);
  return out.Take();
}

std::string DecompileExpression(const TKestParser& expression) {
  const Bytes stored = ExpressionRecord(expression);
  for (bool parenthesise_all : {false, true}) {
    const std::optional<std::string> text = Decompiler(parenthesise_all).Run(expression);
    if (!text || text->empty() || text->front() == '{') continue;
    const std::optional<Bytes> again = CompileText(*text);
    if (again && *again == stored) return *text;
  }
  return RawForm(expression);
}

const Bytes& AlwaysTrueRecord() {
  static const Bytes record = *CompileText("TRUE");
  return record;
}

}  // namespace kest::source
