#include "core/errors.h"

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

}  // namespace kest
