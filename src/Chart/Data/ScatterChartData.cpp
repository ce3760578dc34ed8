#include "Chart/Data/ScatterChartData.h"

#include "Chart/Data/IScatterChartDataSet.h"

namespace chart {

double ScatterChartData::getGreatestShapeSize() const {
  double greatest = 0;
  for (const auto& set : dataSets()) {
    const auto* scatter = dynamic_cast<const IScatterChartDataSet*>(set.get());
    if (!scatter) return 0;
    if (scatter->scatterShapeSize() > greatest) greatest = scatter->scatterShapeSize();
  }
  return greatest;
}

}  // namespace chart
