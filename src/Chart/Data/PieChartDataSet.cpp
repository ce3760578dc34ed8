#include "Chart/Data/PieChartDataSet.h"

namespace chart {

PieChartDataSet::PieChartDataSet() { finishConstruction(); }

PieChartDataSet::PieChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : ChartDataSet(std::move(entries), std::move(label)) {
  finishConstruction();
}

void PieChartDataSet::finishConstruction() {
  calcMinMax();
  setValueTextColor(Color::white());
  setValueFont(Font::systemFont(13));
}

void PieChartDataSet::calcMinMaxForEntry(const ChartDataEntry& entry) { calcMinMaxYForEntry(entry); }

void PieChartDataSet::setSliceSpace(double space) { sliceSpace_ = clampedSpacing(space, 20); }

void PieChartDataSet::copyInto(ChartBaseDataSet& target) const {
  ChartDataSet::copyInto(target);
  auto& set = dynamic_cast<PieChartDataSet&>(target);
  set.setSliceSpace(sliceSpace());
  set.setAutomaticallyDisableSliceSpacing(automaticallyDisableSliceSpacing());
  set.setSelectionShift(selectionShift());
  set.setXValuePosition(xValuePosition());
  set.setYValuePosition(yValuePosition());
  set.setValueLineColor(valueLineColor());
  set.setUseValueColorForLine(useValueColorForLine());
  set.setValueLineWidth(valueLineWidth());
  set.setValueLinePart1OffsetPercentage(valueLinePart1OffsetPercentage());
  set.setValueLinePart1Length(valueLinePart1Length());
  set.setValueLinePart2Length(valueLinePart2Length());
  set.setValueLineVariableLength(valueLineVariableLength());
  set.setEntryLabelFont(entryLabelFont());
  set.setEntryLabelColor(entryLabelColor());
  set.setHighlightColor(highlightColor());
}

}  // namespace chart
