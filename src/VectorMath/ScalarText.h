#pragma once

#include <charconv>
#include <cmath>
#include <concepts>
#include <string>

#include "VectorMath/MemoryAccess.h"

namespace VectorMath {

// The text of one scalar in the descriptions of vectors and matrices: the
// shortest decimal text that reads back as the same value of its own
// precision, with ".0" after whole numbers ("1.0", "2.5", "-0.0", "0.1" for
// the float 0.1). Magnitudes from 1e-4 up to 2^53 (2^24 for float) are
// written plainly, others in exponent form ("1e+16", "1.5e-05"); "nan",
// "inf" and "-inf" for the special values.
template <Real T>
std::string scalarText(T value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  constexpr T plainLimit = std::same_as<T, float> ? T(0x1p24) : T(0x1p53);
  T magnitude = std::fabs(value);
  bool plain = magnitude == T(0) || (magnitude >= T(1e-4) && magnitude < plainLimit);
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              plain ? std::chars_format::fixed : std::chars_format::scientific);
  std::string text(buffer, result.ptr);
  if (plain && text.find('.') == std::string::npos) text += ".0";
  return text;
}

}  // namespace VectorMath
