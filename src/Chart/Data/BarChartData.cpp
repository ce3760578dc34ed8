#include "Chart/Data/BarChartData.h"

#include "Chart/Data/IBarChartDataSet.h"
#include "Chart/Utils/Diagnostics.h"

namespace chart {

double BarChartData::groupWidth(double groupSpace, double barSpace) const {
  return (barWidth() + barSpace) * static_cast<double>(dataSets().size()) + groupSpace;
}

void BarChartData::groupBars(double fromX, double groupSpace, double barSpace) {
  const auto& sets = dataSets();
  if (sets.size() < 2) {
    log("BarData needs to hold at least 2 BarDataSets to allow grouping.");
    return;
  }
  const auto most = maxEntryCountSet();
  const int64_t groups = most ? most->entryCount() : 0;
  const double interval = groupWidth(groupSpace, barSpace);
  const double groupSpaceHalf = groupSpace / 2.0;
  const double barSpaceHalf = barSpace / 2.0;
  const double barWidthHalf = barWidth() / 2.0;

  bool allBars = true;
  for (const auto& set : sets) allBars = allBars && dynamic_cast<const IBarChartDataSet*>(set.get()) != nullptr;

  double x = fromX;
  for (int64_t i = 0; i < groups; ++i) {
    const double start = x;
    x += groupSpaceHalf;
    if (allBars) {
      for (const auto& set : sets) {
        x += barSpaceHalf;
        x += barWidthHalf;
        if (i < set->entryCount()) {
          if (const auto entry = set->entryForIndex(i)) entry->setX(x);
        }
        x += barWidthHalf;
        x += barSpaceHalf;
      }
    }
    x += groupSpaceHalf;
    // Rounding in the steps above must not let the groups drift apart.
    const double drift = interval - (x - start);
    if (drift != 0) x += drift;
  }

  // The entries' x changed in place: their sets' cached extremes go stale
  // unless recomputed before the data gathers them.
  if (allBars && groups > 0) {
    for (const auto& set : sets) set->notifyDataSetChanged();
  }
  notifyDataChanged();
}

}  // namespace chart
