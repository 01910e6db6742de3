#include "source/source_text.h"

#include <algorithm>
#include <cstdio>

#include "core/cp932.h"
#include "core/errors.h"

namespace kest::source {

SourceError::SourceError(const std::string& file, std::size_t line, std::size_t column, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message) {}

void Place::Fail(std::size_t offset, const std::string& message) const {
  const std::string_view text = line->text;
  const std::size_t at = std::min(base + offset, text.size());
  throw SourceError(*file, line->number, line->indent + cp932::CharCount(text.substr(0, at)) + 1, message);
}

namespace {

// The column (from 1) of the first character of `body` that has no CP932 form.
std::size_t FirstColumnWithoutCp932(std::string_view body) {
  for (std::size_t i = 0; i < body.size();) {
    const auto lead = static_cast<unsigned char>(body[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    try {
      cp932::FromUtf8(body.substr(i, length));
    } catch (const KestError&) {
      return i + 1;
    }
    i += length;
  }
  return 1;
}

}  // namespace

std::vector<SourceLine> SplitSource(std::string_view utf8, const std::string& file, SourceErrors& errors) {
  std::vector<SourceLine> lines;
  std::size_t number = 0;
  std::size_t start = 0;
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") start = 3;  // a byte-order mark is not text
  while (start <= utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    if (end == std::string_view::npos) end = utf8.size();
    std::string_view line = utf8.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    SourceLine out;
    out.number = number;
    while (out.indent < line.size() && line[out.indent] == ' ') ++out.indent;
    const std::string_view body = line.substr(out.indent);
    if (out.indent < line.size() && line[out.indent] == '\t') {
      errors.Add(SourceError(file, number, out.indent + 1, "indent with spaces, not tabs"));
    } else {
      try {
        out.text = cp932::FromUtf8(body);
      } catch (const KestError&) {
        errors.Add(SourceError(file, number, out.indent + FirstColumnWithoutCp932(body),
                               "this character has no CP932 form, which titles need"));
      }
    }
    lines.push_back(std::move(out));
    if (end == utf8.size()) break;
    start = end + 1;
  }
  return lines;
}

std::string ParseQuoted(std::string_view text, std::size_t& length, const Place& place) {
  std::string value;
  std::size_t i = 1;
  while (i < text.size()) {
    const std::size_t char_length = cp932::CharLength(text, i);
    if (char_length == 2) {
      value.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    const char c = text[i];
    if (c == '"') {
      length = i + 1;
      return value;
    }
    if (c != '\\') {
      value += c;
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) break;
    const char escape = text[i + 1];
    i += 2;
    switch (escape) {
      case '"': value += '"'; break;
      case '\\': value += '\\'; break;
      case 'n': value += "\r\n"; break;
      case 'r': value += '\r'; break;
      case 't': value += '\t'; break;
      case 'x': {
        auto hex = [&](std::size_t at) -> int {
          if (at >= text.size()) return -1;
          const char h = text[at];
          if (h >= '0' && h <= '9') return h - '0';
          if (h >= 'a' && h <= 'f') return h - 'a' + 10;
          if (h >= 'A' && h <= 'F') return h - 'A' + 10;
          return -1;
        };
        const int high = hex(i), low = hex(i + 1);
        if (high < 0 || low < 0) place.Fail(i - 2, "\\x needs two hexadecimal digits");
        value += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default: place.Fail(i - 2, std::string("unknown escape \\") + escape);
    }
  }
  place.Fail(0, "this string is never closed");
}

std::string Quote(std::string_view cp932_text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < cp932_text.size();) {
    const std::size_t length = cp932::CharLength(cp932_text, i);
    const std::string_view piece = cp932_text.substr(i, length);
    const auto byte = static_cast<unsigned char>(piece[0]);
    if (length == 1 && piece[0] == '\r' && i + 1 < cp932_text.size() && cp932_text[i + 1] == '\n') {
      out += "\\n";
      i += 2;
      continue;
    }
    i += length;
    if (length == 1 && (piece[0] == '"' || piece[0] == '\\')) {
      out += '\\';
      out += piece[0];
    } else if (length == 1 && piece[0] == '\r') {
      out += "\\r";
    } else if (length == 1 && piece[0] == '\t') {
      out += "\\t";
    } else if (length == 1 && (byte < 0x20 || byte == 0x7F)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      try {
        cp932::ToUtf8(piece);
        out.append(piece);
      } catch (const KestError&) {
        for (char c : piece) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          out += hex;
        }
      }
    }
  }
  out += '"';
  return out;  // still CP932: the caller converts the whole line with ToOutput
}

std::vector<std::string> SplitTopLevel(std::string_view text, const Place& place, std::vector<std::size_t>* offsets) {
  std::vector<std::string> parts;
  std::vector<char> open;
  std::size_t start = 0;
  auto finish = [&](std::size_t end) {
    const std::string_view raw = text.substr(start, end - start);
    std::size_t lead = 0;
    while (lead < raw.size() && raw[lead] == ' ') ++lead;
    parts.push_back(Trim(raw));
    if (offsets) offsets->push_back(start + lead);
  };
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932::CharLength(text, i);
    if (length == 2) {
      i += 2;
      continue;
    }
    const char c = text[i];
    if (c == '"') {
      std::size_t consumed = 0;
      ParseQuoted(text.substr(i), consumed, place.At(i));
      i += consumed;
      continue;
    }
    if (c == '(' || c == '[' || c == '{') open.push_back(c);
    if (c == ')' || c == ']' || c == '}') {
      const char expected = c == ')' ? '(' : c == ']' ? '[' : '{';
      if (open.empty() || open.back() != expected) place.Fail(i, std::string("unbalanced '") + c + "'");
      open.pop_back();
    }
    if (c == ',' && open.empty()) {
      finish(i);
      start = i + 1;
    }
    ++i;
  }
  if (!open.empty()) place.Fail(text.size(), std::string("'") + open.back() + "' is never closed");
  if (!Trim(text).empty() || !parts.empty()) finish(text.size());
  return parts;
}

std::string Trim(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

std::string ToOutput(std::string_view cp932_text) { return cp932::ToUtf8Lenient(cp932_text); }

}  // namespace kest::source
