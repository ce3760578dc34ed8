#include "Chart/Views/ChartViewBase.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Chart/Data/BarChartDataEntry.h"
#include "Chart/Data/ChartData.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/Diagnostics.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::TextAttributes;

ChartViewBase::ChartViewBase(const Rect& frame)
    : NSUIView(frame),
      viewPortHandler_(std::make_shared<ViewPortHandler>(bounds().size.width, bounds().size.height)),
      legendRenderer_(std::make_shared<LegendRenderer>(viewPortHandler_, legend_)) {}

// The view can no longer be told (its weak pointer has expired), but the
// animator's stop block still runs.
ChartViewBase::~ChartViewBase() {
  if (animator_) animator_->stop();
}

void ChartViewBase::setup() { animator(); }

std::shared_ptr<Animator> ChartViewBase::animator() const {
  if (!animator_) {
    animator_ = Animator::create();
    if (const auto self = std::const_pointer_cast<ChartViewBase>(weak_from_this().lock())) {
      animator_->setDelegate(self);
    }
  }
  return animator_;
}

void ChartViewBase::setLegendRenderer(std::shared_ptr<LegendRenderer> renderer) {
  if (renderer && !renderer->legend()) {
    log("ChartViewBase.setLegendRenderer(): refused a legend renderer without a legend");
    return;
  }
  if (renderer) legend_ = renderer->legend();
  legendRenderer_ = std::move(renderer);
}

void ChartViewBase::animatorUpdated(Animator&) { setNeedsDisplayInRect(bounds()); }

void ChartViewBase::animatorStopped(Animator& animator) {
  if (const auto receiver = delegate().lock()) receiver->chartViewAnimatorDidStop(*this, animator);
}

void ChartViewBase::setFrame(const Rect& frame) {
  NSUIView::setFrame(frame);
  sizeChanged();
}

void ChartViewBase::setBounds(const Rect& bounds) {
  NSUIView::setBounds(bounds);
  sizeChanged();
}

void ChartViewBase::sizeChanged() {
  const Rect b = bounds();
  if (b.size.width == viewPortHandler_->chartWidth() && b.size.height == viewPortHandler_->chartHeight()) return;
  viewPortHandler_->setChartDimens(b.size.width, b.size.height);
  calculateOffsetsWithOwnMetrics();
}

void ChartViewBase::setData(std::shared_ptr<ChartData> data) {
  // A highlight names a value of the data it was made on: other data (or
  // the same data handed over again) starts with none.
  setHighlighted({});
  setLastHighlighted(nullptr);
  data_ = std::move(data);
  if (data_) {
    const double yMin = data_->yMin();
    const double yMax = data_->yMax();
    const double reference =
        data_->entryCount() >= 2 ? std::fabs(yMax - yMin) : std::max(std::fabs(yMin), std::fabs(yMax));
    defaultValueFormatter_->setDecimals(ChartUtils::decimals(reference));
    for (const auto& set : data_->dataSets()) {
      if (set->needsFormatter() || set->valueFormatter() == defaultValueFormatter_) {
        set->setValueFormatter(defaultValueFormatter_);
      }
    }
  }
  notifyDataSetChanged();
}

void ChartViewBase::notifyDataSetChanged() { cannotBeCalled("notifyDataSetChanged()", "ChartViewBase"); }

Point ChartViewBase::centerOffsets() const { return viewPortHandler_->contentCenter(); }

Point ChartViewBase::getMarkerPosition(const Highlight& highlight) const {
  return Point{highlight.drawX(), highlight.drawY()};
}

void ChartViewBase::highlightValue(double xValue, int64_t dataSetIndex, int64_t stackIndex) {
  const auto chartData = data();
  if (!chartData || std::isnan(xValue) || dataSetIndex < 0 || dataSetIndex >= chartData->dataSetCount()) {
    clearHighlights();
    return;
  }
  const auto combined = std::dynamic_pointer_cast<CombinedChartData>(chartData);
  if (!combined) {
    highlightValue(std::make_shared<Highlight>(xValue, dataSetIndex, stackIndex));
    return;
  }
  // Combined data names a set by its sub-data's place in allData() and its
  // index there, and an entry by its exact x.
  int64_t index = dataSetIndex;
  const auto parts = combined->allData();
  for (size_t i = 0; i < parts.size(); ++i) {
    if (index >= parts[i]->dataSetCount()) {
      index -= parts[i]->dataSetCount();
      continue;
    }
    const DataSetPtr set = parts[i]->getDataSetByIndex(index);
    const EntryPtr closest =
        set ? set->entryForXValue(xValue, std::numeric_limits<double>::quiet_NaN(), ChartDataSetRounding::closest)
            : nullptr;
    auto highlight = std::make_shared<Highlight>(closest ? closest->x() : xValue, Highlight::DataSetIndex{index},
                                                 Highlight::StackIndex{stackIndex});
    highlight->setDataIndex(static_cast<int64_t>(i));
    highlightValue(std::move(highlight));
    return;
  }
  clearHighlights();
}

bool ChartViewBase::namesEntry(const Highlight& highlight) const {
  const auto chartData = data();
  if (!chartData || std::isnan(highlight.x())) return false;
  const EntryPtr entry = chartData->entryForHighlight(highlight);
  if (!entry) return false;
  const int64_t stack = highlight.stackIndex();
  if (stack == -1) return true;
  // Renderers read a stacked bar's ranges by the stack index.
  const auto* bar = dynamic_cast<const BarChartDataEntry*>(entry.get());
  return bar && bar->yValues() && stack >= 0 && stack < static_cast<int64_t>(bar->yValues()->size());
}

void ChartViewBase::keepHighlightsNamingEntries() {
  auto kept = highlighted();
  if (std::erase_if(kept, [&](const std::shared_ptr<Highlight>& h) { return !h || !namesEntry(*h); }) == 0) return;
  const auto last = lastHighlighted();
  if (last && !namesEntry(*last)) setLastHighlighted(kept.empty() ? nullptr : kept.front());
  setHighlighted(std::move(kept));
  setNeedsDisplayInRect(bounds());
}

void ChartViewBase::highlightValue(std::shared_ptr<Highlight> highlight) {
  std::vector<std::shared_ptr<Highlight>> list;
  if (highlight) list.push_back(std::move(highlight));
  highlightValues(std::move(list));
}

void ChartViewBase::highlightValues(std::vector<std::shared_ptr<Highlight>> highlights) {
  std::erase_if(highlights, [&](const std::shared_ptr<Highlight>& h) { return !h || !namesEntry(*h); });
  setLastHighlighted(highlights.empty() ? nullptr : highlights.front());
  setHighlighted(std::move(highlights));
  setNeedsDisplayInRect(bounds());
}

void ChartViewBase::clearHighlights() { highlightValues({}); }

std::shared_ptr<Highlight> ChartViewBase::getHighlightByTouchPoint(Point point) const {
  if (!data()) {
    log("Can't select by touch. No data set.");
    return nullptr;
  }
  const auto h = highlighter();
  return h ? h->getHighlight(point.x, point.y) : nullptr;
}

void ChartViewBase::draw(DrawingContext&) { clearNeedsDisplay(); }

void ChartViewBase::setTextMetrics(std::shared_ptr<const platform::graphics::TextMetrics> metrics) {
  if (!metrics) metrics = platform::graphics::installedTextMetrics();
  const bool measuresAlike = metrics->measuresLike(*textMetrics_);
  takeTextMetrics(std::move(metrics), !measuresAlike);
}

void ChartViewBase::takeTextMetrics(std::shared_ptr<const platform::graphics::TextMetrics> metrics, bool measure) {
  textMetrics_ = std::move(metrics);
  metricsKnown_ = true;
  if (!measure) return;
  const auto inForce = ownMetricsInForce();
  relayOutForMetrics();
}

platform::graphics::ScopedThreadTextMetrics ChartViewBase::ownMetricsInForce() const {
  return platform::graphics::ScopedThreadTextMetrics(textMetrics_);
}

platform::graphics::ScopedThreadTextMetrics ChartViewBase::drawingMetrics(const DrawingContext& context) {
  std::shared_ptr<const platform::graphics::TextMetrics> own = context.ownTextMetrics();
  if (own && (!metricsKnown_ || !own->measuresLike(*textMetrics_))) takeTextMetrics(std::move(own), true);
  return ownMetricsInForce();
}

void ChartViewBase::layOutWithOwnMetrics() {
  const auto inForce = ownMetricsInForce();
  keptInPlace_.reset();
  layOut();
}

void ChartViewBase::calculateOffsetsWithOwnMetrics() {
  const auto inForce = ownMetricsInForce();
  keptInPlace_.reset();
  calculateOffsets();
}

void ChartViewBase::measureLegend() {
  if (legendRenderer()) legend()->calculateDimensions(legend()->font(), *viewPortHandler_);
}

void ChartViewBase::relayOutForMetrics() {
  measureLegend();
  calculateOffsets();
}

void ChartViewBase::drawDescription(DrawingContext& context) {
  const auto metrics = drawingMetrics(context);
  const Description& description = *chartDescription();
  const auto& text = description.text();
  if (!description.isEnabled() || !text || text->empty()) return;
  Point position;
  if (description.position()) {
    position = *description.position();
  } else {
    const double lineHeight = platform::graphics::currentTextMetrics().fontLineHeight(description.font());
    position = Point{viewPortHandler_->contentRight() - description.xOffset(),
                     viewPortHandler_->contentBottom() - description.yOffset() - lineHeight};
  }
  TextAttributes attributes;
  attributes.font = description.font();
  attributes.foregroundColor = description.textColor();
  ChartUtils::drawText(context, *text, position, description.textAlign(), attributes);
}

void ChartViewBase::renderMarkers(DrawingContext& context) {
  const auto& chartMarker = marker();
  const auto chartData = data();
  if (!chartMarker || !drawMarkers() || !valuesToHighlight() || !chartData) return;
  // A marker may measure the text it shows.
  const auto metrics = drawingMetrics(context);
  const double phaseX = animator()->phaseX();
  // A marker may change the view's highlights while it is drawn: the pass
  // walks the list as it was when the pass began.
  const std::vector<std::shared_ptr<Highlight>> highlights = highlighted();
  for (const auto& highlight : highlights) {
    if (!highlight) continue;
    // A highlight of combined data names its set within the sub-data at its
    // data index, not within the gathered list of every set.
    const auto combined = std::dynamic_pointer_cast<CombinedChartData>(chartData);
    const DataSetPtr set = combined ? combined->getDataSetByHighlight(*highlight)
                                    : chartData->getDataSetByIndex(highlight->dataSetIndex());
    const EntryPtr entry = chartData->entryForHighlight(*highlight);
    if (!set || !entry) continue;
    const int64_t entryIndex = set->entryIndex(entry);
    if (static_cast<double>(entryIndex) > static_cast<double>(set->entryCount()) * phaseX) continue;
    const Point position = getMarkerPosition(*highlight);
    if (!viewPortHandler_->isInBounds(position)) continue;
    chartMarker->refreshContent(*entry, *highlight);
    chartMarker->draw(context, position);
  }
}

}  // namespace chart
