#pragma once

#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Chart/Data/ChartData.h"
#include "Chart/Utils/Diagnostics.h"

// For the chart library's tests only (the other test programs do not link the
// chart library): the eight extremes of a chart data as one comparable value,
// and a capture of what the library logs.
namespace testsupport {

struct Extremes {
  double xMin, xMax, yMin, yMax, leftMin, leftMax, rightMin, rightMax;
  friend bool operator==(const Extremes&, const Extremes&) = default;
};

inline Extremes extremes(const chart::ChartData& d) {
  using chart::AxisDependency;
  return {d.xMin(),
          d.xMax(),
          d.yMin(),
          d.yMax(),
          d.getYMin(AxisDependency::left),
          d.getYMax(AxisDependency::left),
          d.getYMin(AxisDependency::right),
          d.getYMax(AxisDependency::right)};
}

inline void PrintTo(const Extremes& e, std::ostream* os) {
  *os << "x " << e.xMin << ".." << e.xMax << ", y " << e.yMin << ".." << e.yMax << ", left " << e.leftMin << ".."
      << e.leftMax << ", right " << e.rightMin << ".." << e.rightMax;
}

// Every extreme unset.
inline constexpr double kUnsetMinimum = std::numeric_limits<double>::max();
inline constexpr Extremes kUnsetExtremes{kUnsetMinimum, -kUnsetMinimum, kUnsetMinimum, -kUnsetMinimum,
                                         kUnsetMinimum, -kUnsetMinimum, kUnsetMinimum, -kUnsetMinimum};

// Collects what the chart library logs while it lives.
class LogCapture {
 public:
  std::vector<std::string> lines;

 private:
  const chart::ScopedLogSink installed_{[this](std::string_view line) { lines.emplace_back(line); }};
};

}  // namespace testsupport
