#pragma once

#include "Chart/Interfaces/ChartDataProvider.h"

namespace chart {

// What the line and combined chart views offer to the line data's helpers
// (the fill formatter) and renderers.
class LineChartDataProvider : public virtual ChartDataProvider {};

}  // namespace chart
