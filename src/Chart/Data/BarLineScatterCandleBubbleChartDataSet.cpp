#include "Chart/Data/BarLineScatterCandleBubbleChartDataSet.h"

namespace chart {

void BarLineScatterCandleBubbleChartDataSet::copyInto(ChartBaseDataSet& target) const {
  ChartDataSet::copyInto(target);
  auto& set = dynamic_cast<BarLineScatterCandleBubbleChartDataSet&>(target);
  set.setHighlightColor(highlightColor());
  set.setHighlightLineWidth(highlightLineWidth());
  set.setHighlightLineDashPhase(highlightLineDashPhase());
  set.setHighlightLineDashLengths(highlightLineDashLengths());
}

}  // namespace chart
