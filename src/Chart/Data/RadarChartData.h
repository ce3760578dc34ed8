#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Chart/Data/ChartData.h"

namespace chart {

// The chart data of a radar chart: its webs, the look of the lines that mark
// a highlighted value (these belong to the data here, not to a data set) and
// a list of labels kept for the chart.
class RadarChartData : public ChartData {
 public:
  using ChartData::ChartData;

  virtual Color highlightColor() const { return highlightColor_; }
  virtual void setHighlightColor(const Color& color) { highlightColor_ = color; }
  virtual double highlightLineWidth() const { return highlightLineWidth_; }
  virtual void setHighlightLineWidth(double width) { highlightLineWidth_ = width; }
  virtual double highlightLineDashPhase() const { return highlightLineDashPhase_; }
  virtual void setHighlightLineDashPhase(double phase) { highlightLineDashPhase_ = phase; }
  // None draws the highlight lines solid.
  virtual const std::optional<std::vector<double>>& highlightLineDashLengths() const {
    return highlightLineDashLengths_;
  }
  virtual void setHighlightLineDashLengths(std::optional<std::vector<double>> lengths) {
    highlightLineDashLengths_ = std::move(lengths);
  }
  virtual const std::vector<std::string>& labels() const { return labels_; }
  // Also takes the labels one by one: setLabels({"A", "B", "C"}).
  virtual void setLabels(std::vector<std::string> labels) { labels_ = std::move(labels); }

  // The set at the highlight's data-set index, and in it the entry at the
  // index the highlight carries as its x (truncated toward zero). nullptr
  // when either is missing, and for an x that is not a number, infinite or
  // beyond the integer range.
  EntryPtr entryForHighlight(const Highlight& highlight) const override;

 private:
  Color highlightColor_ = Color::rgb(1.0, 187.0 / 255.0, 115.0 / 255.0);
  double highlightLineWidth_ = 1.0;
  double highlightLineDashPhase_ = 0;
  std::optional<std::vector<double>> highlightLineDashLengths_;
  std::vector<std::string> labels_;
};

}  // namespace chart
