#include "Chart/Data/BubbleChartDataEntry.h"

namespace chart {

void BubbleChartDataEntry::copyInto(ChartDataEntry& target) const {
  ChartDataEntry::copyInto(target);
  dynamic_cast<BubbleChartDataEntry&>(target).setSize(size());
}

}  // namespace chart
