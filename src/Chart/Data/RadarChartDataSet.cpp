#include "Chart/Data/RadarChartDataSet.h"

namespace chart {

RadarChartDataSet::RadarChartDataSet() { setValueFont(Font::systemFont(13)); }

RadarChartDataSet::RadarChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : LineRadarChartDataSet(std::move(entries), std::move(label)) {
  setValueFont(Font::systemFont(13));
}

}  // namespace chart
