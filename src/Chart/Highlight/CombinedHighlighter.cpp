#include "Chart/Highlight/CombinedHighlighter.h"

#include "Chart/Data/CombinedChartData.h"

namespace chart {

CombinedHighlighter::CombinedHighlighter(std::weak_ptr<CombinedChartDataProvider> chart)
    : ChartHighlighter(chart), combinedChart_(chart), barHighlighter_(chart) {}

std::shared_ptr<ChartData> CombinedHighlighter::dataOf(const Provider&) const {
  const auto chart = combinedChart_.lock();
  return chart ? chart->combinedData() : nullptr;
}

void CombinedHighlighter::collect(const Provider& chart, const ChartData& data, Point touch, Point value,
                                  std::vector<Candidate>& out) const {
  if (dynamic_cast<const BarChartData*>(&data)) {
    barHighlighter_.collect(chart, data, touch, value, out);
  } else {
    ChartHighlighter::collect(chart, data, touch, value, out);
  }
}

}  // namespace chart
