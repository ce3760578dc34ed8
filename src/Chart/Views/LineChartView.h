#pragma once

#include <memory>

#include "Chart/Data/LineChartData.h"
#include "Chart/Views/BarLineChartViewBase.h"
#include "Chart/Interfaces/LineChartDataProvider.h"

namespace chart {

// A line chart: a bar-line chart whose data is line chart data. Its data
// renderer starts as the plain DataRenderer (which draws no data) until the
// line renderer takes its place. It takes CombinedChartData too, for a
// combined chart drawn by a renderer of the caller's: its axes span all the
// sub-data and a touch finds the nearest value in any of them.
class LineChartView : public BarLineChartViewBase, public LineChartDataProvider {
 public:
  static std::shared_ptr<LineChartView> create(const Rect& frame);

  // The data as line chart data; nullptr for none or for other data.
  virtual std::shared_ptr<LineChartData> lineData() const;

 protected:
  explicit LineChartView(const Rect& frame);
};

}  // namespace chart
