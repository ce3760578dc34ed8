#include "Chart/Data/LineChartDataSet.h"

#include <algorithm>

#include "Chart/Data/DefaultFillFormatter.h"

namespace chart {

LineChartDataSet::LineChartDataSet() : fillFormatter_(std::make_shared<DefaultFillFormatter>()) {
  circleColors_.push_back(defaultColor);
}

LineChartDataSet::LineChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : LineRadarChartDataSet(std::move(entries), std::move(label)),
      fillFormatter_(std::make_shared<DefaultFillFormatter>()) {
  circleColors_.push_back(defaultColor);
}

void LineChartDataSet::setCubicIntensity(double intensity) {
  cubicIntensity_ = intensity > 1.0 ? 1.0 : std::max(intensity, 0.05);
}

void LineChartDataSet::setFillFormatter(std::shared_ptr<IFillFormatter> formatter) {
  fillFormatter_ = formatter ? std::move(formatter) : std::make_shared<DefaultFillFormatter>();
}

void LineChartDataSet::copyInto(ChartBaseDataSet& target) const {
  LineRadarChartDataSet::copyInto(target);
  auto& set = dynamic_cast<LineChartDataSet&>(target);
  set.setCircleColors(circleColors());
  set.setCircleHoleColor(circleHoleColor());
  set.setCircleRadius(circleRadius());
  set.setCircleHoleRadius(circleHoleRadius());
  set.setCubicIntensity(cubicIntensity());
  set.setLineDashPhase(lineDashPhase());
  set.setLineDashLengths(lineDashLengths());
  set.setLineCapType(lineCapType());
  set.setDrawCirclesEnabled(drawCirclesEnabled());
  set.setDrawCircleHoleEnabled(drawCircleHoleEnabled());
  set.setMode(mode());
  set.setFillFormatter(fillFormatter());
}

}  // namespace chart
