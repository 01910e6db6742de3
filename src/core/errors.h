#pragma once
// The player's own exception: the "ordinary" error that the interpreter swallows when a
// command fails, and that start-up turns into a message box. Its text is CP932 bytes, as the
// player shows it. Programming errors use the standard exceptions and are never caught by it.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kest {

class KestError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bytes of a file that break its format: a count or a length past the end, a bad tag.
// The text names the file, the byte offset and what was wrong, so a user can report it.
// `source` and `what` are UTF-8 (give CP932 names through cp932::ToUtf8Lenient); what()
// is CP932 like every message of the player.
class FormatError : public KestError {
 public:
  FormatError(const std::string& source, std::uint64_t offset, const std::string& what);

  const std::string& Source() const { return source_; }
  std::uint64_t Offset() const { return offset_; }

 private:
  std::string source_;
  std::uint64_t offset_;
};

// An error of the player that ends what it was doing instead of being swallowed like a failing
// command's (a page too old to run). Its text is CP932, like KestError's.
class FatalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Any exception's text as one line of UTF-8 for a person: the player's own errors (KestError,
// FatalError) hold CP932 and are converted; the text of every other exception is taken as UTF-8
// and cleaned of what is not. No raw CP932 byte reaches a terminal through it.
std::string ErrorText(const std::exception& error);

}  // namespace kest
