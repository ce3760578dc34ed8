#include "Chart/Data/RadarChartData.h"

namespace chart {

EntryPtr RadarChartData::entryForHighlight(const Highlight& highlight) const {
  const auto set = getDataSetByIndex(highlight.dataSetIndex());
  return set ? set->entryForIndex(entryIndexFromHighlightX(highlight.x())) : nullptr;
}

}  // namespace chart
