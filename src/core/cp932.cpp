#include "core/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "core/errors.h"

namespace kest::cp932 {

std::size_t CharLength(std::string_view text, std::size_t index) {
  if (index + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[index]))) return 2;
  return 1;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) ++count;
  return count;
}

namespace {

template <typename Fold>
std::string FoldAscii(std::string_view text, Fold fold) {
  std::string result(text);
  for (std::size_t i = 0; i < result.size();) {
    const std::size_t length = CharLength(result, i);
    if (length == 1) result[i] = fold(result[i]);
    i += length;
  }
  return result;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string UpperCase(std::string_view text) { return FoldAscii(text, AsciiUpper); }
std::string LowerCase(std::string_view text) { return FoldAscii(text, AsciiLower); }

int CompareText(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size()) {
    // Both strings are walked in step; as long as the bytes agree, so do the character
    // boundaries, hence one length serves both.
    const std::size_t length = CharLength(a, i);
    for (std::size_t k = 0; k < length && i + k < b.size(); ++k) {
      const unsigned char ca = length == 1 ? static_cast<unsigned char>(AsciiLower(a[i + k]))
                                           : static_cast<unsigned char>(a[i + k]);
      const unsigned char cb = length == 1 ? static_cast<unsigned char>(AsciiLower(b[i + k]))
                                           : static_cast<unsigned char>(b[i + k]);
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    i += length;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

namespace {

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

// iconv_open is costly, so each thread keeps one converter per direction.
iconv_t Converter(const char* to, const char* from, IconvHandle& slot) {
  if (!slot) {
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1))
      throw KestError(std::string("no converter from ") + from + " to " + to);
    slot.reset(handle);
  }
  iconv_t handle = static_cast<iconv_t>(slot.get());
  iconv(handle, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  return handle;
}

std::string Convert(std::string_view input, const char* to, const char* from, IconvHandle& slot) {
  iconv_t handle = Converter(to, from, slot);
  std::string output(input.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  char* out = output.data();
  std::size_t out_left = output.size();
  while (in_left > 0) {
    if (iconv(handle, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) {
      const std::size_t used = output.size() - out_left;
      output.resize(output.size() * 2);
      out = output.data() + used;
      out_left = output.size() - used;
      continue;
    }
    const std::size_t offset = input.size() - in_left;
    throw KestError(std::string(from) + " text has no " + to + " form at byte " +
                    std::to_string(offset));
  }
  output.resize(output.size() - out_left);
  return output;
}

}  // namespace

std::string ToUtf8(std::string_view cp932_text) {
  thread_local IconvHandle slot;
  return Convert(cp932_text, "UTF-8", "CP932", slot);
}

std::string FromUtf8(std::string_view utf8_text) {
  thread_local IconvHandle slot;
  return Convert(utf8_text, "CP932", "UTF-8", slot);
}

namespace {

void AppendHexByte(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
}

// Joins the lines of `utf8` with one blank and shows the other control bytes as \xNN.
std::string OneLineForPeople(std::string_view utf8) {
  std::string result;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      if (!result.empty() && result.back() != ' ') result += ' ';
    } else if (c < 0x20 || c == 0x7F) {
      AppendHexByte(result, c);
    } else {
      result += static_cast<char>(c);
    }
  }
  return result;
}

// The length of the well-formed UTF-8 sequence at `i`, or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07;
  else return 0;
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string ToUtf8Lenient(std::string_view cp932_text) {
  try {
    return ToUtf8(cp932_text);
  } catch (const KestError&) {
  }
  std::string result;
  for (std::size_t i = 0; i < cp932_text.size();) {
    const std::size_t length = CharLength(cp932_text, i);
    try {
      result += ToUtf8(cp932_text.substr(i, length));
    } catch (const KestError&) {
      for (std::size_t k = 0; k < length; ++k) AppendHexByte(result, static_cast<unsigned char>(cp932_text[i + k]));
    }
    i += length;
  }
  return result;
}

std::string ToUtf8OneLine(std::string_view cp932_text) {
  std::string result;
  for (const char c : ToUtf8Lenient(cp932_text)) {
    if (c == '\r') {
      result += "\\r";
    } else if (c == '\n') {
      result += "\\n";
    } else {
      result += c;
    }
  }
  return result;
}


std::string ToUtf8Message(std::string_view cp932_text) { return OneLineForPeople(ToUtf8Lenient(cp932_text)); }

std::string SanitizeUtf8Line(std::string_view utf8_text) {
  std::string valid;
  for (std::size_t i = 0; i < utf8_text.size();) {
    const std::size_t length = Utf8SequenceLength(utf8_text, i);
    if (length == 0) {
      AppendHexByte(valid, static_cast<unsigned char>(utf8_text[i]));
      ++i;
      continue;
    }
    valid.append(utf8_text.substr(i, length));
    i += length;
  }
  return OneLineForPeople(valid);
}

std::string FromUtf8Lenient(std::string_view utf8_text) {
  try {
    return FromUtf8(utf8_text);
  } catch (const KestError&) {
  }
  std::string result;
  for (std::size_t i = 0; i < utf8_text.size();) {
    const auto lead = static_cast<unsigned char>(utf8_text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    length = std::min(length, utf8_text.size() - i);
    try {
      result += FromUtf8(utf8_text.substr(i, length));
    } catch (const KestError&) {
      result += '?';
    }
    i += length;
  }
  return result;
}

}  // namespace kest::cp932
