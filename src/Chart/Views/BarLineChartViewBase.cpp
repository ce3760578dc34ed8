#include "Chart/Views/BarLineChartViewBase.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "Chart/Data/ChartData.h"
#include "Chart/Highlight/ChartHighlighter.h"
#include "Chart/Views/LegendRoom.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::SavedGraphicsState;
using platform::graphics::Size;
using platform::graphics::TextAttributes;
using platform::graphics::currentTextMetrics;

namespace {

// How far a y axis's labels reach above their top row and below their bottom
// row: a label's top lies lh - (lh / 2.5 + yOffset) above its row.
struct Reach {
  double above = 0;
  double below = 0;
};

Reach yLabelReach(const YAxis& axis) {
  if (!axis.isEnabled() || !axis.isDrawLabelsEnabled()) return {};
  const double lineHeight = currentTextMetrics().fontLineHeight(axis.labelFont());
  const double above = lineHeight - (lineHeight / 2.5 + axis.yOffset());
  const double labelHeight = axis.requiredSize().height - 2 * axis.yOffset();
  return Reach{std::max(0.0, above), std::max(0.0, labelHeight - above)};
}

}  // namespace

BarLineChartViewBase::BarLineChartViewBase(const Rect& frame)
    : ChartViewBase(frame),
      leftAxisTransformer_(std::make_shared<Transformer>(viewPortHandler())),
      rightAxisTransformer_(std::make_shared<Transformer>(viewPortHandler())),
      leftYAxisRenderer_(std::make_shared<YAxisRenderer>(viewPortHandler(), leftAxis_, leftAxisTransformer_)),
      rightYAxisRenderer_(std::make_shared<YAxisRenderer>(viewPortHandler(), rightAxis_, rightAxisTransformer_)),
      xAxisRenderer_(std::make_shared<XAxisRenderer>(viewPortHandler(), xAxis(), leftAxisTransformer_)) {}

BarLineChartViewBase::~BarLineChartViewBase() { stopViewPortJob(); }

void BarLineChartViewBase::setup() {
  ChartViewBase::setup();
  setHighlighter(std::make_shared<ChartHighlighter>(
      std::weak_ptr<BarLineScatterCandleBubbleChartDataProvider>(
          std::static_pointer_cast<BarLineChartViewBase>(shared_from_this()))));
}

std::shared_ptr<YAxis> BarLineChartViewBase::getAxis(AxisDependency axis) const {
  return axis == AxisDependency::left ? leftAxis() : rightAxis();
}

std::shared_ptr<Transformer> BarLineChartViewBase::getTransformer(AxisDependency axis) const {
  return axis == AxisDependency::left ? leftAxisTransformer_ : rightAxisTransformer_;
}

double BarLineChartViewBase::chartYMax() const {
  return std::max(leftAxis()->axisMaximum(), rightAxis()->axisMaximum());
}

double BarLineChartViewBase::chartYMin() const {
  return std::min(leftAxis()->axisMinimum(), rightAxis()->axisMinimum());
}

void BarLineChartViewBase::calcMinMax() {
  const auto& chartData = data();
  if (!chartData) {
    xAxis()->calculate(0, 0);
    leftAxis()->calculate(0, 0);
    rightAxis()->calculate(0, 0);
    return;
  }
  xAxis()->calculate(chartData->xMin(), chartData->xMax());
  leftAxis()->calculate(chartData->getYMin(AxisDependency::left), chartData->getYMax(AxisDependency::left));
  rightAxis()->calculate(chartData->getYMin(AxisDependency::right), chartData->getYMax(AxisDependency::right));
}

void BarLineChartViewBase::setData(std::shared_ptr<ChartData> data) {
  // A drag highlight cancelled later puts back nothing of the old data.
  tracking_.highlightedBefore.clear();
  tracking_.lastHighlightedBefore = nullptr;
  ChartViewBase::setData(std::move(data));
}

void BarLineChartViewBase::notifyDataSetChanged() {
  // Entries added through a data set reach the data's extremes, and so the
  // axes, only once the data has recomputed them.
  if (const auto& chartData = data()) chartData->notifyDataChanged();
  keepHighlightsNamingEntries();
  layOutWithOwnMetrics();
}

void BarLineChartViewBase::layOut() {
  calcMinMax();
  // The labels come first: the room they need sets the offsets.
  if (leftAxis()->isEnabled()) {
    leftYAxisRenderer()->computeAxis(leftAxis()->axisMinimum(), leftAxis()->axisMaximum(),
                                     leftAxis()->isInverted());
  }
  if (rightAxis()->isEnabled()) {
    rightYAxisRenderer()->computeAxis(rightAxis()->axisMinimum(), rightAxis()->axisMaximum(),
                                      rightAxis()->isInverted());
  }
  if (xAxis()->isEnabled()) xAxisRenderer()->computeAxis(xAxis()->axisMinimum(), xAxis()->axisMaximum(), false);
  // The legend's entries come before the offsets that make room for it;
  // without data it keeps only the entries that are not the data's.
  if (const auto& renderer = legendRenderer()) {
    const auto chartData = data();
    const ChartData none;
    renderer->computeLegend(chartData ? *chartData : none);
  }
  calculateOffsets();
}

void BarLineChartViewBase::relayOutForMetrics() {
  if (tracking_.gesture == Gesture::pinch) {
    tracking_.remeasurePending = true;
    return;
  }
  if (xAxis()->isEnabled() && xAxisRenderer()) xAxisRenderer()->computeSize();
  measureLegend();
  if (const std::optional<Point> at = keptInPlace()) {
    layOutKeeping(*at);
  } else {
    calculateOffsets();
  }
}

Size BarLineChartViewBase::xLabelBox(double contentWidth) const {
  const XAxis& x = *xAxis();
  Size box{x.labelRotatedWidth(), x.labelRotatedHeight()};
  if (!x.isWordWrapEnabled() || x.axisRange() == 0) return box;
  double wrapWidth = x.wordWrapWidthPercent() * contentWidth / x.axisRange() * viewPortHandler()->scaleX();
  if (!(wrapWidth > 0)) wrapWidth = 0;
  TextAttributes attributes;
  attributes.font = x.labelFont();
  const double angle = x.labelRotationAngle() * std::numbers::pi / 180.0;
  for (int64_t i = 0; i < x.entryCount(); ++i) {
    const Size size = currentTextMetrics().boundingRect(x.getFormattedLabel(i), {wrapWidth, 0}, attributes).size;
    box.width = std::max(box.width, std::fabs(size.width * std::cos(angle)) + std::fabs(size.height * std::sin(angle)));
    box.height = std::max(box.height, std::fabs(size.width * std::sin(angle)) + std::fabs(size.height * std::cos(angle)));
  }
  return box;
}

void BarLineChartViewBase::calculateOffsets() {
  ViewPortHandler& handler = *viewPortHandler();
  // The legend's room beside the content does not depend on the content's
  // size, and narrows what the x labels may wrap in.
  const LegendRoom legendSides = LegendRoom::of(legend().get(), handler);

  const double leftLabels = leftAxis()->needsOffset() ? leftAxis()->requiredSize().width : 0;
  const double rightLabels = rightAxis()->needsOffset() ? rightAxis()->requiredSize().width : 0;
  double left = leftLabels;
  double right = rightLabels;
  double top = 0;
  double bottom = 0;

  const XAxis& x = *xAxis();
  if (x.isEnabled() && x.isDrawLabelsEnabled()) {
    const Size box = xLabelBox(handler.chartWidth() - leftLabels - rightLabels - legendSides.left - legendSides.right);
    left = std::max(left, box.width / 2);
    right = std::max(right, box.width / 2);
    const double height = box.height + x.yOffset();
    using P = XAxis::LabelPosition;
    const P position = x.labelPosition();
    if (position == P::top || position == P::topAndBottom) top = height;
    if (position == P::bottom || position == P::topAndBottom) bottom = height;
  }
  for (const auto& axis : {leftAxis(), rightAxis()}) {
    const Reach reach = yLabelReach(*axis);
    top = std::max(top, reach.above);
    bottom = std::max(bottom, reach.below);
  }
  LegendRoom::restrainWithLegend(legend().get(), handler, left, top, right, bottom);
  prepareTransformers();
}

void BarLineChartViewBase::prepareTransformers() {
  const XAxis& x = *xAxis();
  for (const AxisDependency side : {AxisDependency::right, AxisDependency::left}) {
    const YAxis& axis = *getAxis(side);
    const auto& transformer = getTransformer(side);
    transformer->prepareMatrixValuePx(x.axisMinimum(), x.axisRange(), axis.axisRange(), axis.axisMinimum());
    transformer->prepareMatrixOffset(axis.isInverted());
  }
}

void BarLineChartViewBase::drawGridBackground(DrawingContext& context) {
  if (!drawGridBackgroundEnabled()) return;
  const SavedGraphicsState saved(context);
  context.setFillColor(gridBackgroundColor());
  context.fillRect(viewPortHandler()->contentRect());
}

void BarLineChartViewBase::draw(DrawingContext& context) {
  ChartViewBase::draw(context);
  const auto& dataRenderer = renderer();
  if (!data() || !dataRenderer) return;
  const auto metrics = drawingMetrics(context);
  const YAxis& left = *leftAxis();
  const YAxis& right = *rightAxis();
  const XAxis& x = *xAxis();
  YAxisRenderer& leftRenderer = *leftYAxisRenderer();
  YAxisRenderer& rightRenderer = *rightYAxisRenderer();
  XAxisRenderer& xRenderer = *xAxisRenderer();

  drawGridBackground(context);

  if (left.isEnabled()) leftRenderer.computeAxis(left.axisMinimum(), left.axisMaximum(), left.isInverted());
  if (right.isEnabled()) rightRenderer.computeAxis(right.axisMinimum(), right.axisMaximum(), right.isInverted());
  if (x.isEnabled()) xRenderer.computeAxis(x.axisMinimum(), x.axisMaximum(), false);

  xRenderer.renderAxisLine(context);
  leftRenderer.renderAxisLine(context);
  rightRenderer.renderAxisLine(context);

  const bool gridBehind = x.isDrawGridLinesBehindDataEnabled();
  const auto renderGrid = [&] {
    xRenderer.renderGridLines(context);
    leftRenderer.renderGridLines(context);
    rightRenderer.renderGridLines(context);
  };
  // The limit lines of the enabled axes that lie behind the data (or in
  // front of it).
  const auto renderLimitLines = [&](bool behind) {
    if (x.isEnabled() && x.isDrawLimitLinesBehindDataEnabled() == behind) xRenderer.renderLimitLines(context);
    if (left.isEnabled() && left.isDrawLimitLinesBehindDataEnabled() == behind) leftRenderer.renderLimitLines(context);
    if (right.isEnabled() && right.isDrawLimitLinesBehindDataEnabled() == behind) {
      rightRenderer.renderLimitLines(context);
    }
  };

  if (gridBehind) renderGrid();
  renderLimitLines(true);

  {
    const SavedGraphicsState clipped(context);
    context.clipToRect(viewPortHandler()->contentRect());
    dataRenderer->drawData(context);
  }

  if (!gridBehind) renderGrid();
  if (valuesToHighlight()) dataRenderer->drawHighlighted(context, highlighted());
  dataRenderer->drawExtras(context);
  renderLimitLines(false);

  xRenderer.renderAxisLabels(context);
  leftRenderer.renderAxisLabels(context);
  rightRenderer.renderAxisLabels(context);

  dataRenderer->drawValues(context);
  if (legendRenderer()) legendRenderer()->renderLegend(context);
  drawDescription(context);
  renderMarkers(context);
}

}  // namespace chart
