#include "platform/text/Scanner.h"

#include <limits>

#include "platform/text/Text.h"

namespace platform::text {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void Scanner::skipWhitespace() {
  location_ += leadingWhitespaceAndNewlines(std::string_view(text_).substr(location_));
}

std::optional<std::string> Scanner::scanCharacters(std::string_view set) {
  const size_t before = location_;
  skipWhitespace();
  size_t end = location_;
  while (end < text_.size() && set.find(text_[end]) != std::string_view::npos) ++end;
  if (end == location_) {
    location_ = before;
    return std::nullopt;
  }
  std::string run = text_.substr(location_, end - location_);
  location_ = end;
  return run;
}

std::optional<int64_t> Scanner::scanInt() {
  const size_t before = location_;
  skipWhitespace();
  size_t i = location_;
  bool negative = false;
  if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) negative = text_[i++] == '-';
  if (i == text_.size() || !isDigit(text_[i])) {
    location_ = before;
    return std::nullopt;
  }
  // Accumulated as a negative number so that the lowest value fits.
  constexpr int64_t lowest = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  bool overflow = false;
  for (; i < text_.size() && isDigit(text_[i]); ++i) {
    const int digit = text_[i] - '0';
    if (overflow || value < (lowest + digit) / 10) {
      overflow = true;
      continue;
    }
    value = value * 10 - digit;
  }
  location_ = i;
  if (overflow) return negative ? lowest : std::numeric_limits<int64_t>::max();
  if (negative) return value;
  return value == lowest ? std::numeric_limits<int64_t>::max() : -value;
}

std::optional<double> Scanner::scanDouble() {
  const size_t before = location_;
  skipWhitespace();
  const size_t start = location_;
  size_t i = start;
  if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text_.size() && isDigit(text_[i])) ++i, ++digits;
  if (i < text_.size() && text_[i] == '.') {
    ++i;
    while (i < text_.size() && isDigit(text_[i])) ++i, ++digits;
  }
  if (digits == 0) {
    location_ = before;
    return std::nullopt;
  }
  if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
    size_t j = i + 1;
    if (j < text_.size() && (text_[j] == '+' || text_[j] == '-')) ++j;
    if (j < text_.size() && isDigit(text_[j])) {
      while (j < text_.size() && isDigit(text_[j])) ++j;
      i = j;
    }
  }
  // The span is a complete strtod number, so the whole of it is read.
  const auto value = parseDouble(std::string_view(text_).substr(start, i - start));
  location_ = value ? i : before;
  return value;
}

}  // namespace platform::text
