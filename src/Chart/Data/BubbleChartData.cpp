#include "Chart/Data/BubbleChartData.h"

#include "Chart/Data/IBubbleChartDataSet.h"

namespace chart {

void BubbleChartData::setHighlightCircleWidth(double width) {
  std::vector<IBubbleChartDataSet*> bubbles;
  for (const auto& set : dataSets()) {
    auto* bubble = dynamic_cast<IBubbleChartDataSet*>(set.get());
    if (!bubble) return;
    bubbles.push_back(bubble);
  }
  for (auto* bubble : bubbles) bubble->setHighlightCircleWidth(width);
}

}  // namespace chart
