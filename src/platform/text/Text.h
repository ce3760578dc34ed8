#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::text {

// Strict UTF-8: rejects overlong forms, surrogates (U+D800..U+DFFF), code
// points above U+10FFFF, stray continuation bytes and cut-off sequences.
bool isValidUtf8(std::string_view bytes);
// The offset of the first byte that is not part of a valid sequence (by the
// same rules); nothing for valid text.
std::optional<size_t> firstInvalidUtf8(std::string_view bytes);

// True when the text holds a control character: U+0000..U+001F, U+007F..U+009F.
bool holdsControlCharacter(std::string_view text);

// The text as a message may show it on any terminal: every byte that is not
// part of valid UTF-8, and every byte of a control character, as \xNN.
std::string printable(std::string_view bytes);

// Drops one leading byte-order mark (U+FEFF, bytes EF BB BF) if present.
std::string_view dropByteOrderMark(std::string_view text);

// The newline set: U+000A..U+000D, U+0085, U+2028, U+2029.
bool isNewline(char32_t c);
// The white-space-and-newline set: the newline set plus TAB, space and the
// Unicode space separators (U+00A0, U+1680, U+2000..U+200A, U+202F, U+205F, U+3000).
bool isWhitespaceOrNewline(char32_t c);

// Length in bytes of the run of white space and newlines (the set above) at
// the start of `s`.
size_t leadingWhitespaceAndNewlines(std::string_view s);

// Remove the set's characters from both ends (UTF-8 aware).
std::string trimNewlines(std::string_view s);
std::string trimWhitespaceAndNewlines(std::string_view s);
// The same as views into `s`, which must outlive them.
std::string_view trimNewlinesView(std::string_view s);
std::string_view trimWhitespaceAndNewlinesView(std::string_view s);

// The line, counted from 1, that the byte at `offset` stands on when the text
// is split at every `lineBreak`.
size_t lineNumberAt(std::string_view text, size_t offset, char lineBreak = '\n');

// The text when it is at most `maxBytes` long; otherwise its first
// `maxBytes` bytes, cut back to a whole UTF-8 character, followed by
// "... (N bytes)" with the whole text's length.
std::string abbreviated(std::string_view text, size_t maxBytes);
// The text when it is at most `maxBytes` long; otherwise about two thirds of
// `maxBytes` from its start and the rest from its end, each cut to whole
// UTF-8 characters, joined by "..." (so that a long file name keeps its
// extension in sight).
std::string elidedMiddle(std::string_view text, size_t maxBytes);

// Splits on every occurrence of `separator`, keeping empty parts:
// split("a,,b", ",") == {"a", "", "b"}; split("", ",") == {""}.
std::vector<std::string> split(std::string_view s, std::string_view separator);

// Joins with `separator` between parts.
std::string join(const std::vector<std::string>& parts, std::string_view separator);

// Replaces every occurrence of `from` (non-empty) with `to`.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Removes every occurrence of the byte `c`.
std::string removeAll(std::string_view s, char c);

// True when the two texts are the same apart from letter case. Only the ASCII
// letters A-Z and a-z fold; every other byte, including each byte of a
// non-ASCII letter, must match exactly, so "É" and "é" are different.
bool caseInsensitiveEquals(std::string_view lhs, std::string_view rhs);

// C-locale decimal number in the strtod grammar (optional sign, digits,
// fraction, exponent, "inf"/"nan", hexadecimal), the whole field consumed:
// an empty field, leading or trailing white space or any trailing character
// gives nothing.
std::optional<double> parseDouble(std::string_view field);

// Like parseDouble, but only a finite plain decimal is accepted: optional
// sign, digits with an optional fraction and exponent; no "inf", "nan" or hex.
std::optional<double> parseFiniteDecimal(std::string_view field);

// Optional sign followed by decimal digits only; overflow gives nothing.
std::optional<int64_t> parseInt(std::string_view field);

// Shortest text that reads back as the same double: plain decimals with a
// decimal point for 1e-4 <= |value| < 1e16 and zero ("1.0", "0.5", "-3.0",
// "0.0001", "0.39215686274509803"), the exponent form with at least two
// exponent digits outside ("1e-05", "1.5e-07", "1e+16"); "nan", "inf", "-inf".
std::string shortestDescription(double value);

// Fixed number of decimals, rounded half to even like printf("%.*f"), always
// in the C locale.
std::string fixedDecimal(double value, int decimals);

}  // namespace platform::text
