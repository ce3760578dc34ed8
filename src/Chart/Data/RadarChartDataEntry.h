#pragma once

#include <limits>
#include <type_traits>

#include "Chart/Data/ChartDataEntry.h"

namespace chart {

// A value on one spoke of a radar chart: the entry's y. Values are placed by
// their index, so x is NaN.
class RadarChartDataEntry : public ChartDataEntry {
 public:
  // x and y 0.
  RadarChartDataEntry() = default;
  explicit RadarChartDataEntry(double value, std::any data = {})
      : ChartDataEntry(std::numeric_limits<double>::quiet_NaN(), value, nullptr, std::move(data)) {}
  // A radar entry has no (x, y) form: RadarChartDataEntry(3, 4) would be the
  // value 3 carrying the payload 4, so a number in the payload's place does
  // not compile (a number meant as payload is passed as std::any(4)).
  template <class T>
    requires std::is_arithmetic_v<T>
  RadarChartDataEntry(double value, T) = delete;

  // Another name for y.
  virtual double value() const { return y(); }
  virtual void setValue(double value) { setY(value); }

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<RadarChartDataEntry>(); }
};

}  // namespace chart
