#include "Chart/Data/DefaultFillFormatter.h"

#include "Chart/Data/ChartData.h"
#include "Chart/Data/ILineChartDataSet.h"
#include "Chart/Interfaces/LineChartDataProvider.h"

namespace chart {

double DefaultFillFormatter::getFillLinePosition(const ILineChartDataSet& dataSet,
                                                 const LineChartDataProvider& dataProvider) {
  if (const Block& own = block()) return own(dataSet, dataProvider);
  if (dataSet.yMax() > 0 && dataSet.yMin() < 0) return 0;
  const auto data = dataProvider.data();
  if (!data) return 0;
  const double upper = data->yMax() > 0 ? 0 : dataProvider.chartYMax();
  const double lower = data->yMin() < 0 ? 0 : dataProvider.chartYMin();
  return dataSet.yMin() >= 0 ? lower : upper;
}

}  // namespace chart
