#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::text {

// Reads numbers and runs of characters from the front of a text, one piece
// after another, like the platform's scanner with its default settings:
// every scan first skips white space and newlines (isWhitespaceOrNewline),
// and a scan that finds nothing leaves the position where it was.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  // Byte offset of the next unread character.
  size_t scanLocation() const { return location_; }

  // The longest run of bytes that all occur in `set` (ASCII), or nothing
  // when the next byte is not one of them.
  std::optional<std::string> scanCharacters(std::string_view set);

  // An optional sign and decimal digits. A value beyond the 64-bit range
  // still consumes all its digits and gives the nearest limit.
  std::optional<int64_t> scanInt();

  // A C-locale decimal: optional sign, digits with an optional fraction
  // (at least one digit in all), an optional exponent when digits follow
  // the "e". A value beyond the double range gives an infinity. No "inf",
  // "nan" or hexadecimal forms.
  std::optional<double> scanDouble();

 private:
  void skipWhitespace();

  std::string text_;
  size_t location_ = 0;
};

}  // namespace platform::text
