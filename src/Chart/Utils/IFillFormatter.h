#pragma once

namespace chart {

struct ILineChartDataSet;
class LineChartDataProvider;

// Decides the y value of the horizontal line down (or up) to which a line
// data set's area is filled.
struct IFillFormatter {
  virtual ~IFillFormatter() = default;
  virtual double getFillLinePosition(const ILineChartDataSet& dataSet, const LineChartDataProvider& dataProvider) = 0;
};

}  // namespace chart
