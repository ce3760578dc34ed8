#include "Chart/Data/PieChartDataEntry.h"

#include <limits>

namespace chart {

PieChartDataEntry::PieChartDataEntry(double value, std::optional<std::string> label, std::shared_ptr<const Image> icon,
                                     std::any data)
    : ChartDataEntry(std::numeric_limits<double>::quiet_NaN(), value, std::move(icon), std::move(data)),
      label_(std::move(label)) {}

void PieChartDataEntry::copyInto(ChartDataEntry& target) const {
  ChartDataEntry::copyInto(target);
  dynamic_cast<PieChartDataEntry&>(target).setLabel(label());
}

}  // namespace chart
