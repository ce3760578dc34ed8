#pragma once

#include <memory>

namespace chart {

class ChartData;

// The side of a chart view that formatters, renderers and highlighters read.
class ChartDataProvider {
 public:
  virtual ~ChartDataProvider() = default;

  // The chart's current data; nullptr before data is set.
  virtual std::shared_ptr<ChartData> data() const = 0;
  // The top and bottom of the chart's y range: for a bar-line chart the
  // larger of its two y axes' maximums and the smaller of their minimums.
  virtual double chartYMax() const = 0;
  virtual double chartYMin() const = 0;
};

}  // namespace chart
