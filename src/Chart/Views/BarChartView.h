#pragma once

#include "Chart/Interfaces/BarChartDataProvider.h"
#include "Chart/Views/BarLineChartViewBase.h"

namespace chart {

// A bar chart: a bar-line chart whose data renderer starts as the plain
// DataRenderer (which draws no data) until one is set: a BarsRenderer draws
// the bars (with a LinePointsRenderer in a CombinedRenderer, bars and a line
// over them).
// Touches find bars through the bar highlighter. Its data is bar chart data,
// or CombinedChartData, in which a touch finds the bars by their column and
// the other sub-data's values by their points; other data can be drawn but
// not touched.
class BarChartView : public BarLineChartViewBase, public virtual BarChartDataProvider {
 public:
  static std::shared_ptr<BarChartView> create(const Rect& frame);

  std::shared_ptr<BarChartData> barData() const override;

 protected:
  explicit BarChartView(const Rect& frame);
  // Makes the bar highlighter.
  void setup() override;
};

}  // namespace chart
