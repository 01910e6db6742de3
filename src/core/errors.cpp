#include "core/errors.h"

#include <new>

#include "core/cp932.h"

namespace kest {

namespace {
std::string DescribeFormatError(const std::string& source, std::uint64_t offset,
                                const std::string& what) {
  return cp932::FromUtf8Lenient((source.empty() ? std::string("(data)") : source) + ": offset " +
                                 std::to_string(offset) + ": " + what);
}
}  // namespace

FormatError::FormatError(const std::string& source, std::uint64_t offset, const std::string& what)
    : KestError(DescribeFormatError(source, offset, what)), source_(source), offset_(offset) {}

std::string ErrorText(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "out of memory";
  if (dynamic_cast<const KestError*>(&error) || dynamic_cast<const FatalError*>(&error))
    return cp932::ToUtf8Message(error.what());
  return cp932::SanitizeUtf8Line(error.what());
}

}  // namespace kest
