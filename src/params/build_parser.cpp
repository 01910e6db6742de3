#include "params/build_parser.h"

#include <algorithm>
#include <map>

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "params/conversions.h"
#include "params/function_table.h"
#include "params/messages.h"

namespace kest {

namespace {

[[noreturn]] void SyntaxError() { throw KestError(Message(ParamsMessage::SyntaxError)); }

// Positions of the characters of a text, each a single byte or a lead byte with its trail byte.
std::vector<std::size_t> CharStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); i += cp932::CharLength(text, i)) starts.push_back(i);
  return starts;
}

// The character at a position as an ASCII sign, or 0 for a double-byte character. Every
// position handed to it is the start of a character, so a trail byte is never seen here.
char SignAt(std::string_view text, std::size_t position) {
  return cp932::CharLength(text, position) == 1 ? text[position] : '\0';
}

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

constexpr std::string_view kOperatorChars = "+-*/%|&^=[](),<>";   // for HasOperator
constexpr std::string_view kInfixChars = "%&*+-/<=>^|";           // what splits tokens
constexpr std::string_view kSignContext = "=+-*/%&^|[(,<>";        // a token before a sign
constexpr std::string_view kNoLeftOperand = "+-*/%|&^=[(<>";      // a token that is no left operand

bool IsOneOf(char c, std::string_view set) { return c != '\0' && set.find(c) != std::string_view::npos; }

// The zero a sign is applied to. Arithmetic follows its first operand, so 0 - 0.5 would be
// computed in integers and give 0; a real literal gets a real zero, so -0.5 stays -0.5.
std::string ZeroFor(const std::string& operand) {
  return !ParseIntText(operand) && ParseFloatText(operand) ? "0.0" : "0";
}

std::string Trim(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

bool HasOperator(std::string_view text) {
  for (const std::size_t i : CharStarts(text))
    if (IsOneOf(SignAt(text, i), kOperatorChars)) return true;
  return false;
}

// Matching pairs of an opening and a closing sign over the whole text; an unmatched one of
// either kind is a syntax error.
std::map<std::size_t, std::size_t> PairUp(std::string_view text, char open, char close) {
  std::map<std::size_t, std::size_t> pairs;
  std::vector<std::size_t> stack;
  for (const std::size_t i : CharStarts(text)) {
    const char c = SignAt(text, i);
    if (c == open) {
      stack.push_back(i);
    } else if (c == close) {
      if (stack.empty()) SyntaxError();
      pairs[stack.back()] = i;
      stack.pop_back();
    }
  }
  if (!stack.empty()) SyntaxError();
  return pairs;
}

// Removes parentheses around the whole text while they match each other: ((a)) gives a, but
// (a)+(b) stays as it is.
std::string StripParens(std::string text) {
  while (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    int depth = 0;
    bool encloses = true;
    const std::vector<std::size_t> starts = CharStarts(text);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
      const char c = SignAt(text, starts[k]);
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (depth == 0) {
        encloses = false;
        break;
      }
    }
    if (!encloses) break;
    text = Trim(std::string_view(text).substr(1, text.size() - 2));
  }
  return text;
}

// Splits a call's argument text at commas outside square brackets. An empty text has no
// arguments, and a comma at the very end adds none; an empty argument between commas stays.
std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  if (text.empty()) return arguments;
  int depth = 0;
  std::size_t piece = 0;
  for (const std::size_t i : CharStarts(text)) {
    const char c = SignAt(text, i);
    if (c == '[') ++depth;
    if (c == ']' && --depth < 0) SyntaxError();
    if (c == ',' && depth == 0) {
      arguments.push_back(Trim(text.substr(piece, i - piece)));
      piece = i + 1;
    }
  }
  if (depth != 0) SyntaxError();
  if (piece < text.size()) {
    std::string last = Trim(text.substr(piece));
    if (!last.empty() || arguments.empty()) arguments.push_back(std::move(last));
  }
  return arguments;
}

// Start of the character before `position`, skipping blanks; npos when there is none.
std::size_t PreviousNonBlank(const std::vector<std::size_t>& starts, std::size_t index, std::string_view text) {
  while (index > 0) {
    --index;
    if (SignAt(text, starts[index]) != ' ') return index;
  }
  return std::string::npos;
}

}  // namespace

std::string TBuildKestParser::NewTemp() { return std::string(kTempPrefix) + std::to_string(temp_counter_++); }
std::string TBuildKestParser::NewRefTemp() { return std::string(kRefTempPrefix) + std::to_string(temp_counter_++); }

void TBuildKestParser::Parse(std::string_view text) {
  if (text.size() > kMaxExpressionText)
    throw KestError(FillMessage(Message(ParamsMessage::TextTooLong),
                                {std::to_string(text.size()), std::to_string(kMaxExpressionText)}));
  Compile(std::string(text));
  FoldTemporaries();
}

void TBuildKestParser::Compile(std::string text) {
  while (CompileStringLiteral(text)) {
  }
  while (CompileCall(text)) {
  }
  while (CompileIndexing(text)) {
  }
  while (CompileGroup(text)) {
  }
  CompileOperators(text);
}

bool TBuildKestParser::CompileStringLiteral(std::string& text) {
  std::size_t open = std::string::npos;
  for (const std::size_t i : CharStarts(text))
    if (SignAt(text, i) == '"') {
      open = i;
      break;
    }
  if (open == std::string::npos) return false;
  // Inside the literal: \" and \\ give the second character, \n a line break (CR LF); any
  // other backslash stays. A double-byte character is taken whole.
  std::string literal = "\"";
  std::size_t i = open + 1;
  while (i < text.size()) {
    const std::size_t length = cp932::CharLength(text, i);
    const char c = length == 1 ? text[i] : '\0';
    if (c == '"') break;
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == '"' || next == '\\') {
        literal += next;
        i += 2;
        continue;
      }
      if (next == 'n') {
        literal += "\r\n";
        i += 2;
        continue;
      }
    }
    literal.append(text, i, length);
    i += length;
  }
  if (i >= text.size()) return false;  // never closed: the quote stays in the text
  literal += '"';
  TBuildOpeData op{ocTo, NewTemp(), {std::move(literal)}};
  text.replace(open, i + 1 - open, op.dest);
  items_.push_back(std::move(op));
  return true;
}

std::string TBuildKestParser::CompileOperand(std::string argument) {
  argument = StripParens(std::move(argument));
  if (argument.empty() || !HasOperator(argument)) return argument;
  std::string temp = NewTemp();
  Compile(temp + " = " + argument);
  return temp;
}

bool TBuildKestParser::CompileCall(std::string& text) {
  const std::map<std::size_t, std::size_t> pairs = PairUp(text, '(', ')');
  const std::vector<std::size_t> starts = CharStarts(text);
  std::size_t open = std::string::npos, name_start = 0;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    if (SignAt(text, starts[k]) != '(') continue;
    const std::size_t before = PreviousNonBlank(starts, k, text);
    if (before == std::string::npos || !IsIdentifierChar(SignAt(text, starts[before]))) continue;
    std::size_t first = before;
    while (first > 0 && IsIdentifierChar(SignAt(text, starts[first - 1]))) --first;
    open = starts[k];
    name_start = starts[first];
  }
  if (open == std::string::npos) return false;
  const std::size_t close = pairs.at(open);
  const std::string name = Trim(std::string_view(text).substr(name_start, open - name_start));
  const std::vector<std::string> arguments = SplitArguments(Trim(std::string_view(text).substr(open + 1, close - open - 1)));

  TBuildOpeData op{ocFunc, NewTemp(), {name}};
  text.replace(name_start, close + 1 - name_start, op.dest);
  for (const std::string& argument : arguments) op.operands.push_back(CompileOperand(argument));
  items_.push_back(std::move(op));
  return true;
}

bool TBuildKestParser::CompileIndexing(std::string& text) {
  const std::map<std::size_t, std::size_t> pairs = PairUp(text, '[', ']');
  if (pairs.empty()) return false;
  const std::vector<std::size_t> starts = CharStarts(text);
  const std::size_t open = pairs.rbegin()->first;
  const std::size_t open_index = static_cast<std::size_t>(std::lower_bound(starts.begin(), starts.end(), open) - starts.begin());
  // The array's name ends at the first character before "[" that is not a blank; an operator
  // there (as in a[1][2]) is an error.
  std::size_t name_start = open;
  const std::size_t before = PreviousNonBlank(starts, open_index, text);
  if (before != std::string::npos) {
    if (IsOneOf(SignAt(text, starts[before]), kOperatorChars)) SyntaxError();
    std::size_t first = before;
    while (first > 0) {
      const char c = SignAt(text, starts[first - 1]);
      if (c == ' ' || IsOneOf(c, kOperatorChars)) break;
      --first;
    }
    name_start = starts[first];
  }
  const std::size_t close = pairs.at(open);
  const std::string name = Trim(std::string_view(text).substr(name_start, open - name_start));
  const std::string index_text = Trim(std::string_view(text).substr(open + 1, close - open - 1));

  TBuildOpeData op{ocDimTo, NewRefTemp(), {name}};
  text.replace(name_start, close + 1 - name_start, op.dest);
  if (index_text.empty()) throw KestError(Message(ParamsMessage::BadSubscript));
  std::size_t piece = 0;
  std::vector<std::string> indexes;
  for (const std::size_t i : CharStarts(index_text)) {
    if (SignAt(index_text, i) != ',') continue;
    indexes.push_back(Trim(std::string_view(index_text).substr(piece, i - piece)));
    piece = i + 1;
  }
  indexes.push_back(Trim(std::string_view(index_text).substr(piece)));
  for (const std::string& index : indexes) op.operands.push_back(CompileOperand(index));
  items_.push_back(std::move(op));
  return true;
}

bool TBuildKestParser::CompileGroup(std::string& text) {
  const std::map<std::size_t, std::size_t> pairs = PairUp(text, '(', ')');
  const std::vector<std::size_t> starts = CharStarts(text);
  std::size_t open = std::string::npos;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    if (SignAt(text, starts[k]) != '(') continue;
    const std::size_t before = PreviousNonBlank(starts, k, text);
    if (before != std::string::npos && IsIdentifierChar(SignAt(text, starts[before]))) continue;
    open = starts[k];
  }
  if (open == std::string::npos) return false;
  const std::size_t close = pairs.at(open);
  const std::string inner = Trim(std::string_view(text).substr(open + 1, close - open - 1));
  std::string temp = NewTemp();
  text.replace(open, close + 1 - open, temp);
  Compile(temp + " = " + inner);
  return true;
}

void TBuildKestParser::CompileOperators(const std::string& text) {
  struct Token {
    std::string text;
    bool is_operator;
  };
  std::vector<Token> tokens;
  const std::vector<std::size_t> starts = CharStarts(text);
  std::size_t operand_start = 0;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const char c = SignAt(text, starts[k]);
    if (!IsOneOf(c, kInfixChars)) continue;
    std::string operand = Trim(std::string_view(text).substr(operand_start, starts[k] - operand_start));
    if (!operand.empty()) tokens.push_back({std::move(operand), false});
    std::string symbol(1, c);
    if (k + 1 < starts.size()) {
      const std::string pair = symbol + SignAt(text, starts[k + 1]);
      if (pair == "==" || pair == ">=" || pair == "<=" || pair == "++" || pair == "<>" || pair == "<<" || pair == ">>") {
        symbol = pair;
        ++k;
      }
    }
    tokens.push_back({symbol, true});
    operand_start = starts[k] + 1;
  }
  std::string rest = Trim(std::string_view(text).substr(std::min(operand_start, text.size())));
  if (!rest.empty()) tokens.push_back({std::move(rest), false});

  if (tokens.empty()) {
    items_.push_back({ocTo, std::string(kResultTemp), {Trim(text)}});
    return;
  }

  const auto first_char = [](const Token& token) { return token.text.empty() ? '\0' : token.text[0]; };
  // Signs: a "+" or "-" after an operator (or after a token that opens something) applies to the
  // token after it; "+" disappears, "-" becomes 0 minus that token.
  for (std::size_t i = tokens.size() >= 2 ? tokens.size() - 2 : 0; i >= 1 && i + 1 < tokens.size(); --i) {
    const Token& sign = tokens[i];
    if (!sign.is_operator || (sign.text != "+" && sign.text != "-") || !IsOneOf(first_char(tokens[i - 1]), kSignContext))
      continue;
    if (sign.text == "+") {
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      TBuildOpeData op{ocMinus, NewTemp(), {ZeroFor(tokens[i + 1].text), tokens[i + 1].text}};
      tokens[i] = {op.dest, false};
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      items_.push_back(std::move(op));
    }
  }

  bool assigned = false;
  while (!tokens.empty()) {
    std::size_t best = tokens.size();
    const InfixOperator* best_operator = nullptr;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      if (!tokens[i].is_operator) continue;
      const auto found = std::find_if(kInfixOperators.begin(), kInfixOperators.end(),
                                      [&](const InfixOperator& op) { return op.symbol == tokens[i].text; });
      if (!best_operator || found->level < best_operator->level) {
        best = i;
        best_operator = &*found;
      }
    }
    if (!best_operator) {
      if (assigned || tokens.size() > 1) SyntaxError();
      items_.push_back({ocTo, std::string(kResultTemp), {tokens[0].text}});
      tokens.clear();
      break;
    }
    const std::size_t i = best;
    if (best_operator->code == ocTo) {
      if (i == 0 || i + 1 >= tokens.size()) SyntaxError();
      items_.push_back({ocTo, tokens[i - 1].text, {tokens[i + 1].text}});
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i) - 1, tokens.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      assigned = true;
    } else if (i > 0) {
      if (i + 1 >= tokens.size() || IsOneOf(first_char(tokens[i - 1]), kNoLeftOperand)) SyntaxError();
      TBuildOpeData op{best_operator->code, NewTemp(), {tokens[i - 1].text, tokens[i + 1].text}};
      tokens[i - 1] = {op.dest, false};
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i), tokens.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      items_.push_back(std::move(op));
    } else {
      if ((best_operator->code != ocPlus && best_operator->code != ocMinus) || tokens.size() < 2) SyntaxError();
      TBuildOpeData op{best_operator->code, NewTemp(), {ZeroFor(tokens[1].text), tokens[1].text}};
      tokens[0] = {op.dest, false};
      tokens.erase(tokens.begin() + 1);
      items_.push_back(std::move(op));
    }
  }
}

void TBuildKestParser::FoldTemporaries() {
  const auto foldable = [](const std::string& name) {
    return IsTempName(name) && !name.starts_with(kRefTempPrefix) && name != kResultTemp;
  };
  for (std::size_t i = 0; i < items_.size();) {
    const TBuildOpeData& op = items_[i];
    if (op.op_code != ocTo || op.operands.empty() || !foldable(op.dest) || !foldable(op.operands[0])) {
      ++i;
      continue;
    }
    const std::string from = op.dest, to = op.operands[0];
    for (std::size_t k = i + 1; k < items_.size(); ++k) {
      if (items_[k].dest == from) items_[k].dest = to;
      for (std::string& operand : items_[k].operands)
        if (operand == from) operand = to;
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TBuildKestParser::SaveToStream(ByteWriter& out) const {
  out.I32(static_cast<std::int32_t>(items_.size()));
  for (const TBuildOpeData& op : items_) {
    out.U8(op.op_code);
    out.LString(op.dest);
    std::size_t first_argument = 0;
    if (op.op_code == ocFunc) {
      const std::string& name = op.operands.empty() ? std::string() : op.operands[0];
      const FunctionInfo* function = FindFunction(name);
      if (!function) throw KestError(FillMessage(Message(ParamsMessage::NoSuchFunction), {name}));
      const auto count = static_cast<std::int32_t>(op.operands.size()) - 1;
      if (count < function->min_args || (function->max_args != -1 && count > function->max_args))
        throw KestError(name + Message(ParamsMessage::BadArgumentCount));
      out.I32(count);
      out.U8(function->number);
      first_argument = 1;
    } else {
      out.I32(static_cast<std::int32_t>(op.operands.size()));
    }
    for (std::size_t k = first_argument; k < op.operands.size(); ++k) {
      const std::string& text = op.operands[k];
      if (const auto integer = ParseIntText(text)) {
        out.U8(PT_INT);
        out.I32(*integer);
      } else if (const auto real = ParseFloatText(text)) {
        out.U8(PT_FLOAT);
        out.Extended(*real);
      } else if (text == "TRUE" || text == "FALSE") {
        out.U8(PT_BOOL);
        out.U8(text == "TRUE" ? 1 : 0);
      } else if (text.size() > 1 && text.front() == '"' && text.back() == '"') {
        out.U8(PT_STR);
        out.LString(std::string_view(text).substr(1, text.size() - 2));
      } else {
        out.U8(PT_NONE);
        out.LString(text);
      }
    }
  }
}

}  // namespace kest
