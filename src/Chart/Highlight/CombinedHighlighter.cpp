#include "Chart/Highlight/CombinedHighlighter.h"

#include "Chart/Data/CombinedChartData.h"

namespace chart {

CombinedHighlighter::CombinedHighlighter(std::weak_ptr<CombinedChartDataProvider> chart)
    : ChartHighlighter(chart), combinedChart_(chart), barHighlighter_(chart) {}

std::shared_ptr<Highlight> CombinedHighlighter::getHighlight(double x, double y) {
  const auto provider = combinedChart_.lock();
  const auto combined = provider ? provider->combinedData() : nullptr;
  if (!combined) return nullptr;
  const Point touch{x, y};
  const Point value = valueForTouchPoint(*provider, touch);
  std::vector<Candidate> candidates;
  const auto all = combined->allData();
  for (size_t i = 0; i < all.size(); ++i) {
    const size_t first = candidates.size();
    if (std::dynamic_pointer_cast<BarChartData>(all[i])) {
      barHighlighter_.collect(*provider, *all[i], touch, value, candidates);
    } else {
      collect(*provider, *all[i], touch, value, candidates);
    }
    for (size_t c = first; c < candidates.size(); ++c) candidates[c].highlight->setDataIndex(static_cast<int64_t>(i));
  }
  return nearest(candidates, provider->maxHighlightDistance());
}

}  // namespace chart
