#pragma once

#include <memory>
#include <vector>

#include "Chart/Highlight/BarHighlighter.h"
#include "Chart/Interfaces/CombinedChartDataProvider.h"

namespace chart {

// The highlighter of a combined chart: it collects from each sub-data of
// the chart's combinedData() (the bar data by the bar rules, the others by
// the bar-line rules), sets on each highlight the sub-data's position in
// allData() as its dataIndex, and keeps the nearest, as the bar-line
// highlighter does. CombinedChartData::entryForHighlight finds its entry.
class CombinedHighlighter : public ChartHighlighter {
 public:
  explicit CombinedHighlighter(std::weak_ptr<CombinedChartDataProvider> chart);

  // One sub-data: bar data by the bar rules, any other by the bar-line ones.
  void collect(const Provider& chart, const ChartData& data, Point touch, Point value,
               std::vector<Candidate>& out) const override;

 protected:
  std::shared_ptr<ChartData> dataOf(const Provider& chart) const override;

 private:
  std::weak_ptr<CombinedChartDataProvider> combinedChart_;
  BarHighlighter barHighlighter_;
};

}  // namespace chart
