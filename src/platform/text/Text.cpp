#include "platform/text/Text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <system_error>

namespace platform::text {
namespace {

// Decodes one code point starting at s[i] of valid UTF-8; returns its length
// in bytes (1 for a byte that does not start a valid sequence).
size_t decodeAt(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto cont = [&](size_t k) -> int {
    if (i + k >= s.size()) return -1;
    const auto b = static_cast<unsigned char>(s[i + k]);
    return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
  };
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    int c1 = cont(1);
    if (c1 >= 0) {
      cp = (char32_t(b0 & 0x1F) << 6) | char32_t(c1);
      return 2;
    }
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    int c1 = cont(1), c2 = cont(2);
    if (c1 >= 0 && c2 >= 0) {
      char32_t v = (char32_t(b0 & 0x0F) << 12) | (char32_t(c1) << 6) | char32_t(c2);
      if (v >= 0x800 && (v < 0xD800 || v > 0xDFFF)) {
        cp = v;
        return 3;
      }
    }
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    int c1 = cont(1), c2 = cont(2), c3 = cont(3);
    if (c1 >= 0 && c2 >= 0 && c3 >= 0) {
      char32_t v = (char32_t(b0 & 0x07) << 18) | (char32_t(c1) << 12) | (char32_t(c2) << 6) | char32_t(c3);
      if (v >= 0x10000 && v <= 0x10FFFF) {
        cp = v;
        return 4;
      }
    }
  }
  cp = 0xFFFD;  // not a valid sequence: never part of any trim set
  return 1;
}

template <class InSet>
std::string_view trimBoth(std::string_view s, InSet inSet) {
  // Walk forward over code points to the first kept.
  size_t first = 0;
  while (first < s.size()) {
    char32_t cp;
    const size_t n = decodeAt(s, first, cp);
    if (!inSet(cp)) break;
    first += n;
  }
  if (first == s.size()) return {};
  // Back from the end over ASCII: a byte below 0x80 is a code point of its
  // own wherever a walk from the front stands, so a field of millions of
  // rows is not decoded whole.
  size_t last = s.size();
  while (static_cast<unsigned char>(s[last - 1]) < 0x80 && inSet(static_cast<char32_t>(s[last - 1]))) --last;
  if (static_cast<unsigned char>(s[last - 1]) < 0x80) return s.substr(first, last - first);
  // Otherwise walk forward to the one-past-last kept.
  last = first;
  for (size_t i = first; i < s.size();) {
    char32_t cp;
    const size_t n = decodeAt(s, i, cp);
    if (!inSet(cp)) last = i + n;
    i += n;
  }
  return s.substr(first, last - first);
}

locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return loc;
}

}  // namespace

std::optional<size_t> firstInvalidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    // Plain ASCII needs no decoding; a long file is mostly that.
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    size_t n = decodeAt(bytes, i, cp);
    // decodeAt reports an invalid start with U+FFFD of length 1; a real
    // U+FFFD is three bytes long, so this is unambiguous.
    if (cp == 0xFFFD && n == 1) return i;
    i += n;
  }
  return std::nullopt;
}

bool isValidUtf8(std::string_view bytes) { return !firstInvalidUtf8(bytes); }

namespace {
bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
}  // namespace

bool holdsControlCharacter(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    char32_t cp;
    const size_t n = decodeAt(text, i, cp);
    if (isControl(cp) && !(cp == 0xFFFD && n == 1)) return true;
    i += n;
  }
  return false;
}

std::string printable(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string shown;
  for (size_t i = 0; i < bytes.size();) {
    char32_t cp;
    const size_t n = decodeAt(bytes, i, cp);
    const bool invalid = cp == 0xFFFD && n == 1;
    if (invalid || isControl(cp)) {
      for (size_t k = i; k < i + n; ++k) {
        const auto b = static_cast<unsigned char>(bytes[k]);
        shown += "\\x";
        shown += digits[b >> 4];
        shown += digits[b & 0xF];
      }
    } else {
      shown.append(bytes.substr(i, n));
    }
    i += n;
  }
  return shown;
}

std::string_view dropByteOrderMark(std::string_view text) {
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

bool isNewline(char32_t c) {
  return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isWhitespaceOrNewline(char32_t c) {
  return isNewline(c) || c == 0x09 || c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

size_t leadingWhitespaceAndNewlines(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    char32_t cp;
    const size_t n = decodeAt(s, i, cp);
    if (!isWhitespaceOrNewline(cp)) break;
    i += n;
  }
  return i;
}

std::string trimNewlines(std::string_view s) { return std::string(trimBoth(s, isNewline)); }

std::string trimWhitespaceAndNewlines(std::string_view s) { return std::string(trimBoth(s, isWhitespaceOrNewline)); }

std::string_view trimNewlinesView(std::string_view s) { return trimBoth(s, isNewline); }

std::string_view trimWhitespaceAndNewlinesView(std::string_view s) { return trimBoth(s, isWhitespaceOrNewline); }

size_t lineNumberAt(std::string_view text, size_t offset, char lineBreak) {
  const auto before = text.substr(0, offset);
  return 1 + static_cast<size_t>(std::count(before.begin(), before.end(), lineBreak));
}

std::string abbreviated(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t cut = maxBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

std::string elidedMiddle(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  auto continues = [&](size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
  size_t head = maxBytes * 2 / 3, tail = text.size() - (maxBytes - head);
  while (head > 0 && continues(head)) --head;
  while (tail < text.size() && continues(tail)) ++tail;
  return std::string(text.substr(0, head)) + "..." + std::string(text.substr(tail));
}

std::vector<std::string> split(std::string_view s, std::string_view separator) {
  std::vector<std::string> parts;
  if (separator.empty()) {
    parts.emplace_back(s);
    return parts;
  }
  // Counted first so the list is allocated once and no larger than needed: a
  // text dense in separators gives a part per separator.
  size_t count = 1;
  for (size_t pos = s.find(separator); pos != std::string_view::npos; pos = s.find(separator, pos + separator.size()))
    ++count;
  parts.reserve(count);
  size_t start = 0;
  for (;;) {
    size_t pos = s.find(separator, start);
    if (pos == std::string_view::npos) {
      parts.emplace_back(s.substr(start));
      return parts;
    }
    parts.emplace_back(s.substr(start, pos - start));
    start = pos + separator.size();
  }
}

std::string join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += separator;
    out += parts[i];
  }
  return out;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string out;
  size_t start = 0;
  for (;;) {
    size_t pos = s.find(from, start);
    if (pos == std::string_view::npos) break;
    out.append(s.substr(start, pos - start));
    out.append(to);
    start = pos + from.size();
  }
  out.append(s.substr(start));
  return out;
}

std::string removeAll(std::string_view s, char c) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s)
    if (ch != c) out.push_back(ch);
  return out;
}

bool caseInsensitiveEquals(std::string_view lhs, std::string_view rhs) {
  if (lhs.size() != rhs.size()) return false;
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < lhs.size(); ++i)
    if (fold(lhs[i]) != fold(rhs[i])) return false;
  return true;
}

std::optional<double> parseDouble(std::string_view field) {
  if (field.empty()) return std::nullopt;
  if (field.find('\0') != std::string_view::npos) return std::nullopt;
  // strtod skips leading white space; a field that begins with it is not a number.
  const auto first = static_cast<unsigned char>(field.front());
  if (first == ' ' || (first >= '\t' && first <= '\r')) return std::nullopt;
  const std::string copy(field);
  char* end = nullptr;
  const double value = strtod_l(copy.c_str(), &end, cLocale());
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  if (end == copy.c_str()) return std::nullopt;
  return value;
}

std::optional<double> parseFiniteDecimal(std::string_view field) {
  size_t i = 0;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
  size_t intDigits = 0, fracDigits = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i, ++intDigits;
  if (i < field.size() && field[i] == '.') {
    ++i;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i, ++fracDigits;
  }
  if (intDigits + fracDigits == 0) return std::nullopt;
  if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
    ++i;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != field.size()) return std::nullopt;
  auto value = parseDouble(field);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::optional<int64_t> parseInt(std::string_view field) {
  size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  if (i == field.size()) return std::nullopt;
  // Accumulate as a negative number so INT64_MIN is representable.
  int64_t value = 0;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    if (value < (std::numeric_limits<int64_t>::min() + digit) / 10) return std::nullopt;
    value = value * 10 - digit;
  }
  if (!negative) {
    if (value == std::numeric_limits<int64_t>::min()) return std::nullopt;
    value = -value;
  }
  return value;
}

std::string shortestDescription(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // The shortest digits come from the scientific form; its exponent decides
  // the layout: plain decimals for 1e-4 <= |value| < 1e16 (and zero), the
  // exponent form ("1e-05", "1.5e+16") outside that range.
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  std::string s(buf, result.ptr);
  const auto e = s.find('e');
  const int exponent = std::atoi(s.c_str() + e + 1);
  if (value != 0 && (exponent < -4 || exponent > 15)) return s;
  result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  s.assign(buf, result.ptr);
  if (s.find('.') == std::string::npos) s += ".0";
  return s;
}

std::string fixedDecimal(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (decimals < 0) decimals = 0;
  // A double has at most 1074 fraction digits (2^-1074) and 309 integer
  // digits, so every digit past the 1074th is zero and the buffer always fits.
  constexpr int exactDigits = 1074;
  char buf[1500];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, std::min(decimals, exactDigits));
  std::string text(buf, result.ptr);
  if (decimals > exactDigits) text.append(static_cast<size_t>(decimals - exactDigits), '0');
  return text;
}

}  // namespace platform::text
