#pragma once

#include <optional>
#include <string>

namespace platform::text {

// Turns doubles into decimal text with a fixed range of fraction digits.
//
// It reads no locale: the decimal point is ".", the grouping separator ","
// every three integer digits and the minus sign "-". A new formatter shows no
// fraction digits and no grouping. The exact binary value is rounded half to
// even at the last shown digit (0.125 with two digits gives "0.12"); zeros
// past minimumFractionDigits are dropped. A result that shows only zeros has
// no minus sign. NaN gives "NaN", the infinities "∞" and "-∞".
//
// Digit counts are kept within [0, maxFractionDigits]: a negative count counts
// as 0. As with the platform formatter, raising the minimum above the maximum
// raises the maximum too, and lowering the maximum below the minimum lowers
// the minimum.
class NumberFormatter {
 public:
  static constexpr int maxFractionDigits = 340;

  int minimumFractionDigits() const { return minimumFractionDigits_; }
  void setMinimumFractionDigits(int digits);
  int maximumFractionDigits() const { return maximumFractionDigits_; }
  void setMaximumFractionDigits(int digits);
  bool usesGroupingSeparator() const { return usesGroupingSeparator_; }
  void setUsesGroupingSeparator(bool uses) { usesGroupingSeparator_ = uses; }

  // The text of the value; every double has one, the optional mirrors the
  // platform formatter, whose callers must handle "no text".
  std::optional<std::string> string(double value) const;

 private:
  int minimumFractionDigits_ = 0;
  int maximumFractionDigits_ = 0;
  bool usesGroupingSeparator_ = false;
};

}  // namespace platform::text
