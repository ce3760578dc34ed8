#include "Chart/Renderers/BarsRenderer.h"

#include <algorithm>

#include "Chart/Data/BarChartDataEntry.h"
#include "Chart/Data/ChartData.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Utils/Transformer.h"
#include "platform/graphics/SavedGraphicsState.h"

namespace chart {

using platform::graphics::SavedGraphicsState;

BarsRenderer::BarsRenderer(const BarLineScatterCandleBubbleChartDataProvider& provider,
                           std::shared_ptr<ViewPortHandler> viewPortHandler)
    : DataRenderer(std::move(viewPortHandler)), provider_(provider) {}

std::shared_ptr<BarChartData> BarsRenderer::barData() const {
  const std::shared_ptr<ChartData> data = provider_.data();
  if (const auto combined = std::dynamic_pointer_cast<CombinedChartData>(data)) return combined->barData();
  return std::dynamic_pointer_cast<BarChartData>(data);
}

void BarsRenderer::drawData(DrawingContext& context) {
  const auto data = barData();
  if (!data) return;
  const double barWidth = data->barWidth();
  if (!(barWidth > 0)) return;
  const SavedGraphicsState clipped(context);
  context.clipToRect(viewPortHandler()->contentRect());
  for (const auto& set : data->dataSets()) {
    const auto bars = std::dynamic_pointer_cast<IBarChartDataSet>(set);
    if (!bars || !bars->isVisible() || bars->entryCount() == 0) continue;
    drawBars(context, *bars, barWidth);
  }
}

std::vector<BarsRenderer::DrawnPart> BarsRenderer::drawnParts(const ChartDataEntry& entry,
                                                             const Transformer& transformer, double barWidth,
                                                             const Rect& content) {
  std::vector<DrawnPart> parts;
  if (!(barWidth > 0)) return parts;
  const bool turned = isTurned(&transformer);
  const double x = entry.x(), half = barWidth / 2;
  // The values from..to of the bar: the part of it within the content,
  // which is nothing for a bar that is empty, not a number or wholly
  // outside (and no coordinate far beyond the content reaches the context).
  const auto add = [&](int64_t stackIndex, double from, double to) {
    Rect bar = turned ? Rect(from, x - half, to - from, barWidth) : Rect(x - half, from, barWidth, to - from);
    transformer.rectValueToPixel(bar);
    const double left = std::max(bar.minX(), content.minX()), right = std::min(bar.maxX(), content.maxX());
    const double top = std::max(bar.minY(), content.minY()), bottom = std::min(bar.maxY(), content.maxY());
    if (left < right && top < bottom) {
      parts.push_back(DrawnPart{stackIndex, Rect(left, top, right - left, bottom - top)});
    }
  };
  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  // A stack of values over their ranges (none for a stack without values,
  // whose ranges are those of values gone); an entry without ranges (a copy
  // has none) is a plain bar of its sum, as the highlighter takes it.
  if (bar && bar->yValues() && bar->ranges()) {
    const auto& ranges = *bar->ranges();
    const size_t values = std::min(bar->yValues()->size(), ranges.size());
    for (size_t k = 0; k < values; ++k) {
      if (ranges[k]) add(static_cast<int64_t>(k), ranges[k]->from(), ranges[k]->to());
    }
    return parts;
  }
  add(-1, std::min(0.0, entry.y()), std::max(0.0, entry.y()));
  return parts;
}

void BarsRenderer::drawBars(DrawingContext& context, const IBarChartDataSet& set, double barWidth) {
  const auto transformer = provider_.getTransformer(set.axisDependency());
  if (!transformer) return;
  const Rect content = viewPortHandler()->contentRect();
  const SavedGraphicsState saved(context);
  for (int64_t i = 0; i < set.entryCount(); ++i) {
    const auto entry = set.entryForIndex(i);
    if (!entry) continue;
    // Stack value k in colour k, a plain entry in colour i (in a stacked
    // set, in the first stack value's).
    for (const DrawnPart& part : drawnParts(*entry, *transformer, barWidth, content)) {
      context.setFillColor(set.color(part.stackIndex >= 0 ? part.stackIndex : set.isStacked() ? 0 : i));
      context.fillRect(part.rect);
    }
  }
}

}  // namespace chart
