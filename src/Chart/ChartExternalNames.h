#pragma once

// The names under which the chart classes are also known to their users,
// with the Chart prefix where the plain name is too general.

#include "Chart/Utils/Transformer.h"
#include "Chart/Utils/ViewPortHandler.h"

namespace chart {

using ChartViewPortHandler = ViewPortHandler;
using ChartTransformer = Transformer;
using ChartTransformerHorizontalBarChart = TransformerHorizontalBarChart;

}  // namespace chart
