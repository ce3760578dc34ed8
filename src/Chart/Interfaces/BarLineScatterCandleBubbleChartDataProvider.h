#pragma once

#include <memory>

#include "Chart/Interfaces/ChartDataProvider.h"
#include "Chart/Utils/AxisDependency.h"

namespace chart {

class Transformer;

// What the charts drawn on an x axis and two y axes offer to their
// renderers and highlighters: the transformer of each y axis (the only way
// they obtain one) and how far a touch may lie from a value to highlight it.
class BarLineScatterCandleBubbleChartDataProvider : public virtual ChartDataProvider {
 public:
  virtual std::shared_ptr<Transformer> getTransformer(AxisDependency axis) const = 0;
  // Points between a touch and the value it highlights, at most.
  virtual double maxHighlightDistance() const = 0;
};

}  // namespace chart
