#pragma once

#include <limits>
#include <memory>
#include <vector>

#include "Chart/Data/ChartData.h"
#include "Chart/Highlight/IHighlighter.h"
#include "Chart/Interfaces/BarLineScatterCandleBubbleChartDataProvider.h"
#include "platform/graphics/Geometry.h"

namespace chart {

using platform::graphics::Point;
using platform::graphics::Rect;

// The highlighter of the bar-line charts. The touch's x value (through the
// left axis's transformer) picks, in every data set that is visible and
// highlightable, the entries closest to it in x (all of them when several
// share that x); of those, the one whose pixel lies nearest the touch wins,
// provided it lies within the chart's maxHighlightDistance. A tie goes to
// the earlier data set.
//
// Combined data (a line or bar view given CombinedChartData) is searched in
// each of its sub-data by the same rules (on a bar view, the bars of its bar
// data by their column: BarHighlighter, which says how a bar and a line,
// scatter, candle or bubble point drawn over it share a tap). The highlight
// carries the sub-data's place in allData() as its dataIndex and the set's
// index in that sub-data, which CombinedChartData::entryForHighlight
// resolves.
//
// The chart owns its highlighter, so the highlighter holds it weakly and
// finds nothing once it is gone.
class ChartHighlighter : public IHighlighter {
 public:
  using Provider = BarLineScatterCandleBubbleChartDataProvider;

  explicit ChartHighlighter(std::weak_ptr<Provider> chart) : chart_(std::move(chart)) {}

  std::shared_ptr<Highlight> getHighlight(double x, double y) override;

  // A value a touch may mean: its highlight and how far (points) it lies
  // from the touch; `limited` says whether maxHighlightDistance applies (a
  // point: yes; a bar found by its column: no); `holdsTouch`, that it is a
  // bar whose column the touch lies in; `drawnUnderTouch`, that the touch
  // lies on the bar as it is drawn (a rectangle its renderer fills), and
  // `drawn` that rectangle (the stack value's, in a stack); `gap`, how far
  // the touch lies from the nearest rectangle drawn of the bar (0 on it,
  // infinity when none is drawn).
  struct Candidate {
    std::shared_ptr<Highlight> highlight;
    double distance = 0;
    bool limited = true;
    bool holdsTouch = false;
    bool drawnUnderTouch = false;
    Rect drawn;
    double gap = std::numeric_limits<double>::infinity();
  };
  // Points from the middle of a finger's touch to its edge: half the 44-point
  // target that touch interfaces give a control. On a bar, a point drawn over
  // it wins only this near (or within maxHighlightDistance, if smaller), and
  // no farther than halfway to the bar's far corner.
  static constexpr double fingerReach = 22;
  // Adds the candidates of the data's sets for a touch at `touch`, under
  // which lies the value `value`. The data-set indexes are the data's own;
  // getHighlight calls it once per sub-data of combined data.
  virtual void collect(const Provider& chart, const ChartData& data, Point touch, Point value,
                       std::vector<Candidate>& out) const;

 protected:
  std::shared_ptr<Provider> chart() const { return chart_.lock(); }
  // The data this highlighter reads from its chart.
  virtual std::shared_ptr<ChartData> dataOf(const Provider& chart) const { return chart.data(); }
  // The value (x, y) under a point of the view, read on the y axis `axis`
  // (the x axis is shared).
  virtual Point valueForTouchPoint(const Provider& chart, Point touch, AxisDependency axis) const;
  // Where a value of a set plotted against `axis` lies in the view.
  virtual Point pixelForValues(const Provider& chart, double x, double y, AxisDependency axis) const;
  // The candidate of one entry of the set at dataSetIndex of `data` (the
  // chart's data, or one sub-data of combined data); one without a highlight
  // is none (a value a tap may not name).
  virtual Candidate candidate(const Provider& chart, const ChartData& data, const IChartDataSet& set,
                              const ChartDataEntry& entry, int64_t dataSetIndex, Point touch, Point value) const;
  // The highlight of the candidate the touch names, or nullptr. On a drawn
  // bar (where bars overlap, the one drawn last, which lies on top), the
  // nearest point within fingerReach (and maxDistance) that also lies within
  // half its own distance to the bar's farthest corner, else that bar: a
  // point drawn over a bar keeps a finger-sized target on it, and every
  // drawn bar, however short or near a point, keeps the pixels beyond
  // halfway to its far corner, which name it.
  // Elsewhere in a bar's column (above a short bar), the nearest point
  // within maxDistance, else the bar: along its column a bar lies under the
  // finger from end to end, so it would win over a point a pixel away.
  // Elsewhere, the nearest candidate that counts (a bar at any distance, a
  // point within maxDistance). Of candidates equally near, one found by its
  // point wins over a bar found by its column (the point lies under the
  // finger both ways); of two bars, the one drawn nearer the touch, and of
  // bars drawn equally near, the later (drawn over the earlier); else the
  // first. A distance that is not a number never wins.
  static std::shared_ptr<Highlight> nearest(const std::vector<Candidate>& candidates, double maxDistance);

 private:
  std::weak_ptr<Provider> chart_;
};

}  // namespace chart
