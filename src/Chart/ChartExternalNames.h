#pragma once

// The chart classes under the external names that carry a `Chart` prefix
// where the plain name is too generic.

#include "Chart/Components/AxisBase.h"
#include "Chart/Components/ComponentBase.h"
#include "Chart/Components/Description.h"
#include "Chart/Components/Legend.h"
#include "Chart/Components/LegendEntry.h"
#include "Chart/Components/MarkerImage.h"
#include "Chart/Components/MarkerView.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Components/YAxis.h"
#include "Chart/Renderers/AxisRendererBase.h"
#include "Chart/Renderers/LegendRenderer.h"
#include "Chart/Renderers/Renderer.h"
#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Renderers/YAxisRenderer.h"
#include "Chart/Utils/Animator.h"
#include "Chart/Utils/DataApproximator.h"
#include "Chart/Utils/DefaultAxisValueFormatter.h"
#include "Chart/Data/DefaultFillFormatter.h"
#include "Chart/Utils/DefaultValueFormatter.h"
#include "Chart/Utils/Fill.h"
#include "Chart/Utils/Highlight.h"
#include "Chart/Utils/IAxisValueFormatter.h"
#include "Chart/Utils/IFillFormatter.h"
#include "Chart/Utils/IValueFormatter.h"
#include "Chart/Utils/IndexAxisValueFormatter.h"
#include "Chart/Utils/Range.h"
#include "Chart/Utils/Transformer.h"
#include "Chart/Utils/ViewPortHandler.h"

namespace chart {

using ChartComponentBase = ComponentBase;
using ChartRenderer = Renderer;
using ChartLegend = Legend;
using ChartLegendEntry = LegendEntry;
using ChartLegendRenderer = LegendRenderer;
using ChartMarkerImage = MarkerImage;
using ChartMarkerView = MarkerView;
using ChartAnimator = Animator;
using ChartAxisBase = AxisBase;
using ChartXAxis = XAxis;
using ChartYAxis = YAxis;
using ChartDescription = Description;
using ChartAxisRendererBase = AxisRendererBase;
using ChartXAxisRenderer = XAxisRenderer;
using ChartYAxisRenderer = YAxisRenderer;
using ChartHighlight = Highlight;
using ChartRange = Range;
using IChartValueFormatter = IValueFormatter;
using IChartAxisValueFormatter = IAxisValueFormatter;
using ChartDefaultValueFormatter = DefaultValueFormatter;
using ChartDefaultAxisValueFormatter = DefaultAxisValueFormatter;
using ChartIndexAxisValueFormatter = IndexAxisValueFormatter;
using ChartViewPortHandler = ViewPortHandler;
using ChartTransformer = Transformer;
using ChartTransformerHorizontalBarChart = TransformerHorizontalBarChart;
using ChartFill = Fill;
using IChartFillFormatter = IFillFormatter;
using ChartDefaultFillFormatter = DefaultFillFormatter;
using ChartDataApproximator = DataApproximator;

}  // namespace chart
