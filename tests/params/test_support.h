#pragma once
// Small helpers shared by the params tests: CP932 texts written in UTF-8, and the text of the
// error an action raises.

#include <string>
#include <string_view>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest::testing {

inline std::string Sjis(std::string_view utf8) { return cp932::FromUtf8(utf8); }

// The message of the KestError that `action` raises, or "(no error)".
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const KestError& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace kest::testing
