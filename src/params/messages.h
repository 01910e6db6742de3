#pragma once
// The variable store's and the expression engine's own message texts. The player shows them in
// CP932; they are written here once in UTF-8 and converted when first used.

#include <string>

#include "core/messages.h"

namespace kest {

enum class ParamsMessage {
  IndexOutOfRange,     // element access below 0 or past the last element
  BadDimensions,       // %s: the requested sizes joined by ","
  CopyMemType,         // copying between values of different classes
  BadVariableName,     // %s: the name
  BadVariable,         // %s: the name of a variable whose value is not a plain value
  NoVariableName,      // a declaration without a name
  InternalError,       // a system variable number outside the table
  SyntaxError,         // the compiler's catch-all
  BadSubscript,        // indexing without any index
  NoSuchFunction,      // %s: the function name
  BadArgumentCount,    // appended to the function name
  NoSuchVariable,      // %s: the name
  GetPropArgument,     // a property number above the table
  SubscriptCount,      // after "name[i,j]" and a line break: wrong number of indexes
  SubscriptTooLarge,   // after "name[i,j]" and a line break: flat index past the end
  BadExpression,       // %s: what the bad operation was
  DivisionByZero,      // integer or real division (or remainder) by zero
  InvalidFloat,        // a real result that is not finite, or an invalid real operation
  VariableNotFound,    // appended to a function name: a variable argument that is none
  EmptySearchText,     // JPos without a text to look for
  NotAvailableYet,     // %s: a built-in function whose subsystem is not built yet
  CalcTooDeep,         // %d: Calc nested deeper than the limit
  TextTooLong,         // %d, %d: the length of text given to the compiler and the limit
  BadDateTime,         // EncodeDate / EncodeTime with impossible values
  StringTooLong,       // %d: a built-in function asked for a text longer than the limit
  kCount
};

const std::string& Message(ParamsMessage id);

}  // namespace kest
