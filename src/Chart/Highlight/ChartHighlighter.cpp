#include "Chart/Highlight/ChartHighlighter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Chart/Data/CombinedChartData.h"
#include "Chart/Utils/Transformer.h"

namespace chart {

std::shared_ptr<Highlight> ChartHighlighter::getHighlight(double x, double y) {
  const auto provider = chart();
  if (!provider) return nullptr;
  const auto data = dataOf(*provider);
  if (!data) return nullptr;
  const Point touch{x, y};
  const Point value = valueForTouchPoint(*provider, touch, AxisDependency::left);
  std::vector<Candidate> candidates;
  const auto combined = std::dynamic_pointer_cast<CombinedChartData>(data);
  if (!combined) {
    collect(*provider, *data, touch, value, candidates);
    return nearest(candidates, provider->maxHighlightDistance());
  }
  // Combined data finds a value by its sub-data's place in allData() and
  // the set's index in that sub-data.
  const auto parts = combined->allData();
  for (size_t i = 0; i < parts.size(); ++i) {
    const size_t first = candidates.size();
    collect(*provider, *parts[i], touch, value, candidates);
    for (size_t c = first; c < candidates.size(); ++c) candidates[c].highlight->setDataIndex(static_cast<int64_t>(i));
  }
  return nearest(candidates, provider->maxHighlightDistance());
}

void ChartHighlighter::collect(const Provider& chart, const ChartData& data, Point touch, Point value,
                               std::vector<Candidate>& out) const {
  // A touch that is not a number, or a chart whose axes map nothing, means
  // no value.
  if (!std::isfinite(touch.x) || !std::isfinite(touch.y) || std::isnan(value.x)) return;
  const auto& sets = data.dataSets();
  for (size_t i = 0; i < sets.size(); ++i) {
    const IChartDataSet* set = sets[i].get();
    if (!set || !set->isHighlightEnabled() || !set->isVisible()) continue;
    const EntryPtr closest =
        set->entryForXValue(value.x, std::numeric_limits<double>::quiet_NaN(), ChartDataSetRounding::closest);
    if (!closest) continue;
    for (const EntryPtr& entry : set->entriesForXValue(closest->x())) {
      Candidate c = candidate(chart, data, *set, *entry, static_cast<int64_t>(i), touch, value);
      if (c.highlight) out.push_back(std::move(c));
    }
  }
}

Point ChartHighlighter::valueForTouchPoint(const Provider& chart, Point touch, AxisDependency axis) const {
  const auto& transformer = chart.getTransformer(axis);
  if (!transformer) return Point{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
  return transformer->valueForTouchPoint(touch);
}

Point ChartHighlighter::pixelForValues(const Provider& chart, double x, double y, AxisDependency axis) const {
  const auto& transformer = chart.getTransformer(axis);
  if (!transformer) return Point{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
  return transformer->pixelForValues(x, y);
}

ChartHighlighter::Candidate ChartHighlighter::candidate(const Provider& chart, const ChartData&,
                                                        const IChartDataSet& set, const ChartDataEntry& entry,
                                                        int64_t dataSetIndex, Point touch, Point) const {
  const AxisDependency axis = set.axisDependency();
  const Point pixel = pixelForValues(chart, entry.x(), entry.y(), axis);
  Candidate c;
  c.highlight = std::make_shared<Highlight>(entry.x(), entry.y(), pixel.x, pixel.y, dataSetIndex, axis);
  c.distance = std::hypot(pixel.x - touch.x, pixel.y - touch.y);
  return c;
}

std::shared_ptr<Highlight> ChartHighlighter::nearest(const std::vector<Candidate>& candidates, double maxDistance) {
  // The nearest of the candidates `counts` lets through.
  const auto nearestOf = [&](const auto& counts) {
    const Candidate* best = nullptr;
    for (const Candidate& c : candidates) {
      // A distance that is not a number (an entry whose y is not one) never
      // wins.
      if (!(c.distance >= 0) || !counts(c)) continue;
      if (!best || c.distance < best->distance ||
          (c.distance == best->distance &&
           (c.limited ? !best->limited : !best->limited && c.gap <= best->gap))) {
        best = &c;
      }
    }
    return best;
  };
  const auto pointWithin = [](double reach) {
    return [reach](const Candidate& c) { return c.limited && c.distance <= reach; };
  };
  const auto any = [&](bool Candidate::*flag) {
    return std::any_of(candidates.begin(), candidates.end(), [flag](const Candidate& c) { return c.*flag; });
  };

  // The bar drawn under the touch, the last one where several are: the
  // candidates come in the order the bars are drawn.
  const Candidate* onTop = nullptr;
  for (const Candidate& c : candidates) {
    if (c.drawnUnderTouch) onTop = &c;
  }
  const Candidate* best = nullptr;
  if (onTop) {
    // A reach that is not a number lets no point through, as maxDistance does.
    const double reach = std::isnan(maxDistance) ? maxDistance : std::min(maxDistance, fingerReach);
    const Rect& bar = onTop->drawn;
    best = nearestOf([&](const Candidate& c) {
      if (!pointWithin(reach)(c)) return false;
      const double x = c.highlight->xPx(), y = c.highlight->yPx();
      const double farthest = std::hypot(std::max(std::fabs(x - bar.minX()), std::fabs(x - bar.maxX())),
                                         std::max(std::fabs(y - bar.minY()), std::fabs(y - bar.maxY())));
      return c.distance <= farthest / 2;
    });
    if (!best) best = onTop;
  } else {
    if (any(&Candidate::holdsTouch)) best = nearestOf(pointWithin(maxDistance));
    if (!best) best = nearestOf([&](const Candidate& c) { return !c.limited || c.distance <= maxDistance; });
  }
  return best ? best->highlight : nullptr;
}

}  // namespace chart
