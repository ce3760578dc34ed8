#pragma once

#include <memory>
#include <vector>

#include "Chart/Data/ChartData.h"
#include "Chart/Highlight/IHighlighter.h"
#include "Chart/Interfaces/BarLineScatterCandleBubbleChartDataProvider.h"
#include "platform/graphics/Geometry.h"

namespace chart {

using platform::graphics::Point;

// The highlighter of the bar-line charts. The touch's x value (through the
// left axis's transformer) picks, in every data set that is visible and
// highlightable, the entries closest to it in x (all of them when several
// share that x); of those, the one whose pixel lies nearest the touch wins,
// provided it lies within the chart's maxHighlightDistance. A tie goes to
// the earlier data set.
//
// Combined data (a line or bar view given CombinedChartData) is searched in
// each of its sub-data by the same rules (on a bar view, the bars of its bar
// data by their column: BarHighlighter). On a bar view, a touch inside a
// bar's column names the nearest line, scatter, candle or bubble point
// within maxHighlightDistance of it, and the bar (its stack value) only
// when no point lies that near. The highlight carries the
// sub-data's place in allData() as its dataIndex and the set's index in
// that sub-data, which CombinedChartData::entryForHighlight resolves.
//
// The chart owns its highlighter, so the highlighter holds it weakly and
// finds nothing once it is gone.
class ChartHighlighter : public IHighlighter {
 public:
  using Provider = BarLineScatterCandleBubbleChartDataProvider;

  explicit ChartHighlighter(std::weak_ptr<Provider> chart) : chart_(std::move(chart)) {}

  std::shared_ptr<Highlight> getHighlight(double x, double y) override;

  // A value a touch may mean: its highlight and how far (points) it lies
  // from the touch; `limited` says whether maxHighlightDistance applies;
  // `holdsTouch`, that it is a bar whose column the touch lies in.
  struct Candidate {
    std::shared_ptr<Highlight> highlight;
    double distance = 0;
    bool limited = true;
    bool holdsTouch = false;
  };
  // Adds the candidates of the data's sets for a touch at `touch`, under
  // which lies the value `value`. The data-set indexes are the data's own;
  // getHighlight calls it once per sub-data of combined data.
  virtual void collect(const Provider& chart, const ChartData& data, Point touch, Point value,
                       std::vector<Candidate>& out) const;

 protected:
  std::shared_ptr<Provider> chart() const { return chart_.lock(); }
  // The data this highlighter reads from its chart.
  virtual std::shared_ptr<ChartData> dataOf(const Provider& chart) const { return chart.data(); }
  // The value (x, y) under a point of the view.
  virtual Point valueForTouchPoint(const Provider& chart, Point touch) const;
  // Where a value of a set plotted against `axis` lies in the view.
  virtual Point pixelForValues(const Provider& chart, double x, double y, AxisDependency axis) const;
  // The candidate of one entry of the set at dataSetIndex of `data` (the
  // chart's data, or one sub-data of combined data).
  virtual Candidate candidate(const Provider& chart, const ChartData& data, const IChartDataSet& set,
                              const ChartDataEntry& entry, int64_t dataSetIndex, Point touch, Point value) const;
  // The nearest candidate that counts, or nullptr. Of candidates equally
  // near, one found by its point wins over a bar found by its column (the
  // point lies under the finger both ways); else the first. A touch inside
  // a bar's column names the nearest point within maxHighlightDistance
  // before any bar: along its column a bar lies under the finger from end
  // to end, so it would win over a point a pixel away.
  static std::shared_ptr<Highlight> nearest(const std::vector<Candidate>& candidates, double maxDistance);

 private:
  std::weak_ptr<Provider> chart_;
};

}  // namespace chart
