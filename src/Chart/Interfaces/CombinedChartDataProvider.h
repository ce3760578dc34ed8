#pragma once

#include <memory>

#include "Chart/Interfaces/BarChartDataProvider.h"
#include "Chart/Interfaces/LineChartDataProvider.h"

namespace chart {

class CombinedChartData;

// What a combined chart offers to its highlighter and renderers: its
// sub-data, each of which is read through the provider of its own kind.
class CombinedChartDataProvider : public virtual LineChartDataProvider, public virtual BarChartDataProvider {
 public:
  // The data as combined chart data; nullptr for none or for other data.
  virtual std::shared_ptr<CombinedChartData> combinedData() const = 0;
};

}  // namespace chart
