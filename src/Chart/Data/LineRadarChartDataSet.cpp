#include "Chart/Data/LineRadarChartDataSet.h"

#include <algorithm>

namespace chart {

void LineRadarChartDataSet::setFillColor(const Color& color) {
  fillColor_ = color;
  setFill(nullptr);
}

void LineRadarChartDataSet::setLineWidth(double width) { lineWidth_ = width > 10.0 ? 10.0 : std::max(width, 0.0); }

void LineRadarChartDataSet::copyInto(ChartBaseDataSet& target) const {
  LineScatterCandleRadarChartDataSet::copyInto(target);
  auto& set = dynamic_cast<LineRadarChartDataSet&>(target);
  set.setFill(fill());
  set.setFillAlpha(fillAlpha());
  set.fillColor_ = fillColor_;
  set.lineWidth_ = lineWidth_;
  set.setDrawFilledEnabled(drawFilledEnabled());
}

}  // namespace chart
