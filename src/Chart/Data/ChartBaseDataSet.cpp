#include "Chart/Data/ChartBaseDataSet.h"

#include <algorithm>

#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/Diagnostics.h"

namespace chart {

namespace {

constexpr std::string_view baseClass = "ChartBaseDataSet";

}  // namespace

std::optional<IChartDataSet::Color> ChartBaseDataSet::colorInTurn(const std::vector<Color>& list, int64_t index) {
  if (list.empty()) return std::nullopt;
  const auto count = static_cast<int64_t>(list.size());
  return list[static_cast<size_t>(std::max<int64_t>(0, index) % count)];
}

void ChartBaseDataSet::notifyDataSetChanged() { calcMinMax(); }

// The entry members: abstract here.
void ChartBaseDataSet::calcMinMax() { notImplemented("calcMinMax", baseClass); }
void ChartBaseDataSet::calcMinMaxY(double, double) { notImplemented("calcMinMaxY(fromX:, toX:)", baseClass); }
double ChartBaseDataSet::yMin() const { notImplemented("yMin", baseClass); }
double ChartBaseDataSet::yMax() const { notImplemented("yMax", baseClass); }
double ChartBaseDataSet::xMin() const { notImplemented("xMin", baseClass); }
double ChartBaseDataSet::xMax() const { notImplemented("xMax", baseClass); }
int64_t ChartBaseDataSet::entryCount() const { notImplemented("entryCount", baseClass); }
EntryPtr ChartBaseDataSet::entryForIndex(int64_t) const { notImplemented("entryForIndex", baseClass); }
EntryPtr ChartBaseDataSet::entryForXValue(double, double, ChartDataSetRounding) const {
  notImplemented("entryForXValue(x, closestToY, rounding)", baseClass);
}
EntryPtr ChartBaseDataSet::entryForXValue(double, double) const {
  notImplemented("entryForXValue(x, closestToY)", baseClass);
}
std::vector<EntryPtr> ChartBaseDataSet::entriesForXValue(double) const {
  notImplemented("entriesForXValue", baseClass);
}
int64_t ChartBaseDataSet::entryIndex(double, double, ChartDataSetRounding) const {
  notImplemented("entryIndex(x, closestToY, rounding)", baseClass);
}
int64_t ChartBaseDataSet::entryIndex(const EntryPtr&) const { notImplemented("entryIndex(entry)", baseClass); }
bool ChartBaseDataSet::addEntry(const EntryPtr&) { notImplemented("addEntry", baseClass); }
bool ChartBaseDataSet::addEntryOrdered(const EntryPtr&) { notImplemented("addEntryOrdered", baseClass); }
bool ChartBaseDataSet::removeEntry(const EntryPtr&) { notImplemented("removeEntry", baseClass); }
bool ChartBaseDataSet::contains(const EntryPtr&) const { notImplemented("contains", baseClass); }
void ChartBaseDataSet::clear() { notImplemented("clear", baseClass); }

bool ChartBaseDataSet::removeEntryWithIndex(int64_t index) {
  const auto entry = entryForIndex(index);
  return entry ? removeEntry(entry) : false;
}

bool ChartBaseDataSet::removeEntryWithX(double x) {
  const auto entry = entryForXValue(x, std::numeric_limits<double>::quiet_NaN());
  return entry ? removeEntry(entry) : false;
}

bool ChartBaseDataSet::removeFirst() {
  if (entryCount() < 1) return false;
  const auto entry = entryForIndex(0);
  return entry ? removeEntry(entry) : false;
}

bool ChartBaseDataSet::removeLast() {
  if (entryCount() < 1) return false;
  const auto entry = entryForIndex(entryCount() - 1);
  return entry ? removeEntry(entry) : false;
}

void ChartBaseDataSet::setColors(const std::vector<Color>& colors, double alpha) {
  std::vector<Color> faded;
  faded.reserve(colors.size());
  for (const auto& c : colors) faded.push_back(c.withAlpha(alpha));
  setColors(std::move(faded));
}

IChartDataSet::Color ChartBaseDataSet::color(int64_t index) const {
  return colorInTurn(colors(), index).value_or(defaultColor);
}

void ChartBaseDataSet::resetColors() { setColors(std::vector<Color>{}); }

void ChartBaseDataSet::addColor(const Color& color) {
  auto list = colors();
  list.push_back(color);
  setColors(std::move(list));
}

void ChartBaseDataSet::setColor(const Color& color) { setColors(std::vector<Color>{color}); }

void ChartBaseDataSet::setColor(const Color& color, double alpha) { setColor(color.withAlpha(alpha)); }

std::shared_ptr<IValueFormatter> ChartBaseDataSet::valueFormatter() const {
  return needsFormatter() ? ChartUtils::defaultValueFormatter() : valueFormatter_;
}

void ChartBaseDataSet::setValueFormatter(std::shared_ptr<IValueFormatter> formatter) {
  if (formatter) valueFormatter_ = std::move(formatter);
}

IChartDataSet::Color ChartBaseDataSet::valueTextColor() const {
  const auto& list = valueColors();
  return list.empty() ? Color::labelColor() : list.front();
}

void ChartBaseDataSet::setValueTextColor(const Color& color) { setValueColors(std::vector<Color>{color}); }

IChartDataSet::Color ChartBaseDataSet::valueTextColorAt(int64_t index) const {
  return colorInTurn(valueColors(), index).value_or(Color::labelColor());
}

std::string ChartBaseDataSet::description() const {
  return className() + ", label: " + label().value_or("") + ", " + std::to_string(entryCount()) + " entries";
}

std::string ChartBaseDataSet::debugDescription() const {
  std::string text = description() + ":";
  for (int64_t i = 0, n = entryCount(); i < n; ++i) {
    const auto entry = entryForIndex(i);
    text += "\n" + (entry ? entry->description() : std::string());
  }
  return text;
}

std::shared_ptr<ChartBaseDataSet> ChartBaseDataSet::copy() const {
  auto copied = makeEmpty();
  copyInto(*copied);
  return copied;
}

void ChartBaseDataSet::copyInto(ChartBaseDataSet& target) const {
  target.setColors(colors());
  target.setValueColors(valueColors());
  target.setLabel(label());
  target.setAxisDependency(axisDependency());
  target.setHighlightEnabled(highlightEnabled());
  target.valueFormatter_ = valueFormatter_;
  target.setValueFont(valueFont());
  target.setForm(form());
  target.setFormSize(formSize());
  target.setFormLineWidth(formLineWidth());
  target.setFormLineDashPhase(formLineDashPhase());
  target.setFormLineDashLengths(formLineDashLengths());
  target.setDrawValuesEnabled(drawValuesEnabled());
  target.setDrawIconsEnabled(drawIconsEnabled());
  target.setIconsOffset(iconsOffset());
  target.setVisible(visible());
}

}  // namespace chart
