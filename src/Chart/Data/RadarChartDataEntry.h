#pragma once

#include <limits>

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

  // Another name for y.
  virtual double value() const { return y(); }
  virtual void setValue(double value) { setY(value); }

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<RadarChartDataEntry>(); }
};

}  // namespace chart
