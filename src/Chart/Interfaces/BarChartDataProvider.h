#pragma once

#include <memory>

#include "Chart/Interfaces/BarLineScatterCandleBubbleChartDataProvider.h"

namespace chart {

class BarChartData;

// What the bar chart views offer to the bar highlighter and renderers.
class BarChartDataProvider : public virtual BarLineScatterCandleBubbleChartDataProvider {
 public:
  // The data as bar chart data; nullptr for none or for other data.
  virtual std::shared_ptr<BarChartData> barData() const = 0;
};

}  // namespace chart
