#include "platform/text/NumberFormatter.h"

#include <algorithm>
#include <cmath>

#include "platform/text/Text.h"

namespace platform::text {

namespace {

int clampDigits(int digits) { return std::clamp(digits, 0, NumberFormatter::maxFractionDigits); }

}  // namespace

void NumberFormatter::setMinimumFractionDigits(int digits) {
  minimumFractionDigits_ = clampDigits(digits);
  maximumFractionDigits_ = std::max(maximumFractionDigits_, minimumFractionDigits_);
}

void NumberFormatter::setMaximumFractionDigits(int digits) {
  maximumFractionDigits_ = clampDigits(digits);
  minimumFractionDigits_ = std::min(minimumFractionDigits_, maximumFractionDigits_);
}

std::optional<std::string> NumberFormatter::string(double value) const {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-\u221E" : "\u221E";

  std::string digits = fixedDecimal(std::fabs(value), maximumFractionDigits_);
  const auto point = digits.find('.');
  std::string integer = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
  while (fraction.size() > static_cast<size_t>(minimumFractionDigits_) && fraction.back() == '0') fraction.pop_back();

  const bool showsOnlyZeros = integer.find_first_not_of('0') == std::string::npos &&
                              fraction.find_first_not_of('0') == std::string::npos;
  std::string text = value < 0 && !showsOnlyZeros ? "-" : "";
  for (size_t i = 0; i < integer.size(); ++i) {
    if (usesGroupingSeparator_ && i > 0 && (integer.size() - i) % 3 == 0) text += ',';
    text += integer[i];
  }
  if (!fraction.empty()) text += '.' + fraction;
  return text;
}

}  // namespace platform::text
