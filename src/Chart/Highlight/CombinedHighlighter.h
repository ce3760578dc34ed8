#pragma once

#include <memory>

#include "Chart/Highlight/BarHighlighter.h"
#include "Chart/Interfaces/CombinedChartDataProvider.h"

namespace chart {

// The highlighter of a combined chart: it collects from each sub-data of
// the chart's combinedData() (the bar data by the bar rules, the others by
// the bar-line rules), sets on each highlight the sub-data's position in
// allData() as its dataIndex, and shares a tap between bars and points as
// the bar highlighter does. CombinedChartData::entryForHighlight finds its
// entry.
class CombinedHighlighter : public BarHighlighter {
 public:
  explicit CombinedHighlighter(std::weak_ptr<CombinedChartDataProvider> chart);

 protected:
  std::shared_ptr<ChartData> dataOf(const Provider& chart) const override;

 private:
  std::weak_ptr<CombinedChartDataProvider> combinedChart_;
};

}  // namespace chart
