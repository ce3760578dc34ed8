#include "Chart/Data/BarChartDataSet.h"

#include <cmath>

namespace chart {

namespace {

// The stack values of a bar entry; none for a plain bar and for an entry of
// another kind.
const std::vector<double>* stackOf(const ChartDataEntry& entry) {
  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  return bar && bar->yValues() ? &*bar->yValues() : nullptr;
}

}  // namespace

BarChartDataSet::BarChartDataSet() { finishConstruction(); }

BarChartDataSet::BarChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : BarLineScatterCandleBubbleChartDataSet(std::move(entries), std::move(label)) {
  finishConstruction();
}

void BarChartDataSet::finishConstruction() {
  setHighlightColor(Color::black());
  calcMinMax();
  calcStackSize();
}

void BarChartDataSet::calcMinMaxForEntry(const ChartDataEntry& entry) {
  if (std::isnan(entry.y())) return;
  calcMinMaxYForEntry(entry);
  calcMinMaxXForEntry(entry);
}

// Also the rule of a rescan over an x range (calcMinMaxY): a stack of mixed
// signs reaches past its sum both ways, and a view that scales its y axis to
// the visible bars must not clip it.
void BarChartDataSet::calcMinMaxYForEntry(const ChartDataEntry& entry) {
  if (std::isnan(entry.y())) return;
  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  if (bar && bar->isStacked()) {
    widenYExtremes(-bar->negativeSum(), bar->positiveSum());
  } else {
    widenYExtremes(entry.y(), entry.y());
  }
}

void BarChartDataSet::calcStackSize() {
  for (const auto& e : entries()) {
    if (const auto* values = stackOf(*e)) {
      const auto count = static_cast<int64_t>(values->size());
      if (count > stackSize_) stackSize_ = count;
    }
  }
  entryCountStacks_ = 0;
  for (const auto& e : entries()) {
    const auto* values = stackOf(*e);
    entryCountStacks_ += values ? static_cast<int64_t>(values->size()) : 1;
  }
}

void BarChartDataSet::copyInto(ChartBaseDataSet& target) const {
  BarLineScatterCandleBubbleChartDataSet::copyInto(target);
  auto& set = dynamic_cast<BarChartDataSet&>(target);
  set.stackSize_ = stackSize();
  set.entryCountStacks_ = entryCountStacks();
  set.setStackLabels(stackLabels());
  set.setBarShadowColor(barShadowColor());
  set.setBarBorderWidth(barBorderWidth());
  set.setBarBorderColor(barBorderColor());
  set.setHighlightAlpha(highlightAlpha());
}

}  // namespace chart
