#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace linearization {

// One measured patch: lightness L* (0 black .. about 100 paper white), a*
// (green-red) and b* (blue-yellow).
//
// Readings are ordered by L alone, while equality compares all three fields,
// so two readings of equal L and different a or b are neither less nor
// greater than each other and still unequal. (A defaulted <=> would compare a
// and b as well, so the comparisons are written out.)
struct CIELab {
  double L = 0.0;
  double a = 0.0;
  double b = 0.0;

  // "CIELab(L:50.0, a:0.0, b:0.0)": each number in its shortest round-trip
  // form, a whole number ending in ".0".
  std::string description() const;

  friend bool operator<(const CIELab& x, const CIELab& y) { return x.L < y.L; }
  friend bool operator>(const CIELab& x, const CIELab& y) { return y < x; }
  friend bool operator<=(const CIELab& x, const CIELab& y) { return !(y < x); }
  friend bool operator>=(const CIELab& x, const CIELab& y) { return !(x < y); }
  friend bool operator==(const CIELab& x, const CIELab& y) { return x.L == y.L && x.a == y.a && x.b == y.b; }
};

// The longest list of readings describe() shows whole: every wedge's file
// (256 steps, each measured a few times) fits.
inline constexpr std::size_t kReadingsDescribedInFull = 1000;

// "[CIELab(L:..., a:..., b:...), CIELab(...)]": the printed form of a list.
// A list of more than kReadingsDescribedInFull readings shows its first five
// and its last five around "... (N readings) ...", so the text stays short
// for any list.
std::string describe(const std::vector<CIELab>& readings);

}  // namespace linearization
