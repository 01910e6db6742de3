#pragma once
// TBuildKestParser: the expression compiler. It rewrites the source text step by step: string
// literals, then function calls, then array indexing, then parenthesised groups are each taken
// out innermost-last first, emitted as operations, and replaced in the text by the name of the
// temporary that holds their value; what is left is a flat run of operands and infix operators,
// reduced by precedence. Operations are appended in the order in which they must run. A second
// step folds away copies between temporaries.
//
// Texts are CP932: a double-byte character is one character, and its trail byte ("\" in 表,
// "]" in ー, "|" in ポ ...) is never taken for a sign.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "params/expression_ops.h"

namespace kest {

class ByteWriter;

struct TBuildOpeData {
  OpCode op_code = ocNone;
  std::string dest;
  std::vector<std::string> operands;  // for ocFunc: the function name, then the arguments
};

// Longest text the compiler accepts: expressions in scripts are a line or two; the cap keeps
// the rewriting (which rescans the text for every construct) quick on any input.
inline constexpr std::size_t kMaxExpressionText = 4096;

class TBuildKestParser {
 public:
  // Compiles the text and folds the temporaries. Syntax errors raise "構文エラー" (indexing
  // without an index "配列の添え字が不正です"); text longer than kMaxExpressionText is refused.
  void Parse(std::string_view text);

  // A 32-bit operation count and one operation record per operation; operand texts become
  // integers, reals, flags, string literals or variable names. Unknown function names raise
  // "\"%s\" 関数名がありません"; a wrong argument count raises the name + " 引数の数が不正です".
  void SaveToStream(ByteWriter& out) const;

  void Clear() { items_.clear(); }
  std::size_t Count() const { return items_.size(); }
  const TBuildOpeData& operator[](std::size_t index) const { return items_[index]; }
  const std::vector<TBuildOpeData>& Items() const { return items_; }

  std::string NewTemp();
  std::string NewRefTemp();

 private:
  void Compile(std::string text);
  bool CompileStringLiteral(std::string& text);
  bool CompileCall(std::string& text);
  bool CompileIndexing(std::string& text);
  bool CompileGroup(std::string& text);
  void CompileOperators(const std::string& text);
  std::string CompileOperand(std::string argument);
  void FoldTemporaries();

  std::vector<TBuildOpeData> items_;
  std::int32_t temp_counter_ = 0;
};

}  // namespace kest
