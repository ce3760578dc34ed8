#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Chart/Utils/LegendForm.h"
#include "Chart/Data/ChartDataEntry.h"
#include "Chart/Utils/AxisDependency.h"
#include "Chart/Utils/IValueFormatter.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"

namespace chart {

// Which entry an x search settles on when no entry lies exactly at x:
// `up` takes the next entry when the one found is below x, `down` the
// previous one when the one found is above x, `closest` keeps the nearest.
enum class ChartDataSetRounding : int { up = 0, down = 1, closest = 2 };

constexpr std::optional<ChartDataSetRounding> chartDataSetRoundingFromRaw(int raw) {
  if (raw >= 0 && raw <= 2) return static_cast<ChartDataSetRounding>(raw);
  return std::nullopt;
}

// What renderers, highlighters, the legend and the chart data ask of any data
// set. Indexes and counts are signed: a negative index finds nothing.
// Kind-specific interfaces extend this one with virtual inheritance.
struct IChartDataSet {
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;
  using Point = platform::graphics::Point;

  virtual ~IChartDataSet() = default;

  // Extremes. "Notify" means recompute: there are no observers.
  virtual void notifyDataSetChanged() = 0;
  virtual void calcMinMax() = 0;
  // Recomputes only the y extremes, over the entries that cover [fromX, toX].
  virtual void calcMinMaxY(double fromX, double toX) = 0;
  virtual double yMin() const = 0;
  virtual double yMax() const = 0;
  virtual double xMin() const = 0;
  virtual double xMax() const = 0;

  // Entries. Searches by x expect the entries in ascending x.
  virtual int64_t entryCount() const = 0;
  // nullptr when the index is outside 0..<entryCount.
  virtual EntryPtr entryForIndex(int64_t index) const = 0;
  virtual EntryPtr entryForXValue(double x, double closestToY, ChartDataSetRounding rounding) const = 0;
  virtual EntryPtr entryForXValue(double x, double closestToY) const = 0;
  virtual std::vector<EntryPtr> entriesForXValue(double x) const = 0;
  // -1 when there is none. A NaN closestToY skips the tie-break among
  // entries with the same x.
  virtual int64_t entryIndex(double x, double closestToY, ChartDataSetRounding rounding) const = 0;
  virtual int64_t entryIndex(const EntryPtr& entry) const = 0;

  // Edits; false when nothing was added or removed.
  virtual bool addEntry(const EntryPtr& entry) = 0;
  virtual bool addEntryOrdered(const EntryPtr& entry) = 0;
  virtual bool removeEntry(const EntryPtr& entry) = 0;
  virtual bool removeEntryWithIndex(int64_t index) = 0;
  virtual bool removeEntryWithX(double x) = 0;
  virtual bool removeFirst() = 0;
  virtual bool removeLast() = 0;
  virtual bool contains(const EntryPtr& entry) const = 0;
  virtual void clear() = 0;

  // Display settings.
  virtual const std::optional<std::string>& label() const = 0;
  virtual AxisDependency axisDependency() const = 0;
  virtual const std::vector<Color>& valueColors() const = 0;
  virtual const std::vector<Color>& colors() const = 0;
  // The colours are used in turn: a negative index counts as 0, then the
  // index is taken modulo the number of colours.
  virtual Color color(int64_t index) const = 0;
  virtual void resetColors() = 0;
  virtual void addColor(const Color& color) = 0;
  virtual void setColor(const Color& color) = 0;
  virtual bool highlightEnabled() const = 0;
  virtual void setHighlightEnabled(bool enabled) = 0;
  virtual bool isHighlightEnabled() const = 0;
  virtual std::shared_ptr<IValueFormatter> valueFormatter() const = 0;
  virtual void setValueFormatter(std::shared_ptr<IValueFormatter> formatter) = 0;
  virtual bool needsFormatter() const = 0;
  virtual Color valueTextColor() const = 0;
  virtual void setValueTextColor(const Color& color) = 0;
  virtual Color valueTextColorAt(int64_t index) const = 0;
  virtual const Font& valueFont() const = 0;
  virtual void setValueFont(Font font) = 0;
  virtual LegendForm form() const = 0;
  virtual double formSize() const = 0;
  virtual double formLineWidth() const = 0;
  virtual double formLineDashPhase() const = 0;
  virtual const std::optional<std::vector<double>>& formLineDashLengths() const = 0;
  virtual bool drawValuesEnabled() const = 0;
  virtual void setDrawValuesEnabled(bool enabled) = 0;
  virtual bool isDrawValuesEnabled() const = 0;
  virtual bool drawIconsEnabled() const = 0;
  virtual void setDrawIconsEnabled(bool enabled) = 0;
  virtual bool isDrawIconsEnabled() const = 0;
  virtual Point iconsOffset() const = 0;
  virtual void setIconsOffset(Point offset) = 0;
  virtual bool visible() const = 0;
  virtual void setVisible(bool visible) = 0;
  virtual bool isVisible() const = 0;
};

using DataSetPtr = std::shared_ptr<IChartDataSet>;

}  // namespace chart
