#pragma once
// CP932 (Shift-JIS) text as the titles store it. A double-byte character is a lead byte
// (0x81-0x9F or 0xE0-0xFC) followed by a trail byte; trail bytes include "\", "[", "]", "|", "@"
// and ASCII letters, so every scan, split and case fold below steps over whole characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace kest::cp932 {

constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length in bytes of the character that starts at `index`: 2 for a lead byte with a trail
// byte after it, otherwise 1 (a lead byte at the very end stands alone).
std::size_t CharLength(std::string_view text, std::size_t index);

// Number of characters, a double-byte character counting as one.
std::size_t CharCount(std::string_view text);

// ASCII letters folded to upper or lower case; trail bytes of double-byte characters are left
// alone, so the second byte of a character such as 0x83 0x61 never changes.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Comparison without regard to the case of ASCII letters, stepping over double-byte characters.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);

// Conversions at the edges of the player (file system, window, terminal). A byte sequence that
// has no counterpart in the other encoding raises KestError naming its byte offset.
std::string ToUtf8(std::string_view cp932_text);
std::string FromUtf8(std::string_view utf8_text);

// For messages on a terminal: like ToUtf8, but a byte with no UTF-8 form is shown as "\xNN"
// instead of failing.
std::string ToUtf8Lenient(std::string_view cp932_text);

// ToUtf8Lenient on one line: CR and LF become the two characters \r and \n (log lines and
// dumps that must stay one line per entry).
std::string ToUtf8OneLine(std::string_view cp932_text);

// ToUtf8Lenient for a person reading a terminal: a message of several lines (CR LF, CR or LF
// between them) becomes one line, its lines joined by a blank; other control bytes become
// "\xNN". Every player message that reaches standard output or standard error goes through it.
std::string ToUtf8Message(std::string_view cp932_text);

// UTF-8 text from outside the player (the C library, the file system) made safe for one line of
// a terminal: bytes that are not UTF-8 and control bytes become "\xNN", line breaks a blank.
std::string SanitizeUtf8Line(std::string_view utf8_text);

// For file paths and other UTF-8 text put into the player's messages: like FromUtf8, but a
// character with no CP932 form becomes "?" instead of failing.
std::string FromUtf8Lenient(std::string_view utf8_text);

}  // namespace kest::cp932
