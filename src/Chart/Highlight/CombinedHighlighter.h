#pragma once

#include <memory>

#include "Chart/Highlight/BarHighlighter.h"
#include "Chart/Interfaces/CombinedChartDataProvider.h"

namespace chart {

// The highlighter of a combined chart: it collects from each sub-data of
// the combined data (the bar data by the bar rules, the others by the
// bar-line rules), sets on each highlight the sub-data's position in
// allData() as its dataIndex, and keeps the nearest, as the bar-line
// highlighter does. CombinedChartData::entryForHighlight finds its entry.
class CombinedHighlighter : public ChartHighlighter {
 public:
  explicit CombinedHighlighter(std::weak_ptr<CombinedChartDataProvider> chart);

  std::shared_ptr<Highlight> getHighlight(double x, double y) override;

 private:
  std::weak_ptr<CombinedChartDataProvider> combinedChart_;
  BarHighlighter barHighlighter_;
};

}  // namespace chart
