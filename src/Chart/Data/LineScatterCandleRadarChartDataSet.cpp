#include "Chart/Data/LineScatterCandleRadarChartDataSet.h"

namespace chart {

void LineScatterCandleRadarChartDataSet::setDrawHighlightIndicators(bool enabled) {
  setDrawHorizontalHighlightIndicatorEnabled(enabled);
  setDrawVerticalHighlightIndicatorEnabled(enabled);
}

void LineScatterCandleRadarChartDataSet::copyInto(ChartBaseDataSet& target) const {
  BarLineScatterCandleBubbleChartDataSet::copyInto(target);
  auto& set = dynamic_cast<LineScatterCandleRadarChartDataSet&>(target);
  set.setDrawHorizontalHighlightIndicatorEnabled(drawHorizontalHighlightIndicatorEnabled());
  set.setDrawVerticalHighlightIndicatorEnabled(drawVerticalHighlightIndicatorEnabled());
}

}  // namespace chart
