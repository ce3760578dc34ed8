#include "Chart/Highlight/CombinedHighlighter.h"

#include "Chart/Data/CombinedChartData.h"

namespace chart {

CombinedHighlighter::CombinedHighlighter(std::weak_ptr<CombinedChartDataProvider> chart)
    : BarHighlighter(chart), combinedChart_(chart) {}

std::shared_ptr<ChartData> CombinedHighlighter::dataOf(const Provider&) const {
  const auto chart = combinedChart_.lock();
  return chart ? chart->combinedData() : nullptr;
}

}  // namespace chart
