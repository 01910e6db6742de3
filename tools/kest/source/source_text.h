#pragma once
// The lexical layer of title source: UTF-8 files turned into CP932 lines, quoted strings,
// and arguments split at top-level commas. Errors name the file, the line and the column.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kest::source {

// An error in a source file; what() reads "FILE:LINE:COLUMN: message" (UTF-8).
class SourceError : public std::runtime_error {
 public:
  SourceError(const std::string& file, std::size_t line, std::size_t column, const std::string& message);
};

// The errors of one compilation, in the order found. Compiling goes on after an error (the
// faulty line is left out), so that one run reports every error of every file.
class SourceErrors {
 public:
  // Runs `step`; a SourceError it raises is kept, and false answered.
  template <typename Step>
  bool Catch(Step&& step) {
    try {
      step();
      return true;
    } catch (const SourceError& error) {
      errors_.push_back(error);
      return false;
    }
  }
  void Add(const SourceError& error) { errors_.push_back(error); }
  bool Empty() const { return errors_.empty(); }
  std::size_t Count() const { return errors_.size(); }
  const std::vector<SourceError>& All() const { return errors_; }
  // Raises the first error kept, if any: for callers that want one error, not a list.
  void ThrowFirst() const {
    if (!errors_.empty()) throw errors_.front();
  }

 private:
  std::vector<SourceError> errors_;
};

// Raised at the end of a compilation that found errors; what() is the first of them.
class SourceErrorList : public std::runtime_error {
 public:
  explicit SourceErrorList(std::vector<SourceError> errors)
      : std::runtime_error(errors.front().what()), errors_(std::move(errors)) {}
  const std::vector<SourceError>& All() const { return errors_; }

 private:
  std::vector<SourceError> errors_;
};

struct SourceLine {
  std::size_t number = 0;  // 1-based
  std::size_t indent = 0;  // leading spaces
  std::string text;        // CP932, without the indentation and the line break
};

// Splits UTF-8 source into CP932 lines. A character with no CP932 form, or a tab in the
// indentation, is a SourceError at its line and column: kept in `errors`, with the line left
// empty, so the lines after it are still read.
std::vector<SourceLine> SplitSource(std::string_view utf8, const std::string& file, SourceErrors& errors);

// Where a piece of a line sits, for error messages: columns count characters from 1.
struct Place {
  const std::string* file;
  const SourceLine* line;
  std::size_t base = 0;  // byte offset of the piece within the line's text
  Place At(std::size_t offset) const { return {file, line, base + offset}; }
  [[noreturn]] void Fail(std::size_t offset, const std::string& message) const;
};

// A quoted string: "..." with \" \\ \n (CR LF), \r, \t and \xNN (one byte). `text` starts at the
// opening quote; `length` receives the bytes consumed.
std::string ParseQuoted(std::string_view text, std::size_t& length, const Place& place);
// The quoted form of CP932 bytes (the inverse of ParseQuoted); bytes with no UTF-8 form, and
// control bytes, become \xNN.
std::string Quote(std::string_view cp932);

// Splits at commas outside quotes, parentheses, brackets and braces, trimming each part.
// `offsets` receives each part's offset in `text`.
std::vector<std::string> SplitTopLevel(std::string_view text, const Place& place, std::vector<std::size_t>* offsets);

std::string Trim(std::string_view text);
// CP932 text as UTF-8 for the output of the decompiler (bytes with no UTF-8 form as \xNN).
std::string ToOutput(std::string_view cp932);

}  // namespace kest::source
