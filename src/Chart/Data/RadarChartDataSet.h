#pragma once

#include "Chart/Data/IRadarChartDataSet.h"
#include "Chart/Data/LineRadarChartDataSet.h"
#include "Chart/Data/RadarChartDataEntry.h"

namespace chart {

// The values of one web of a radar chart, with the circle around a
// highlighted value (off at first). Its value texts are in the 13-point
// system font.
//
// It has no copy of its own: a copy carries the inherited settings and the
// highlight-circle settings at their defaults.
class RadarChartDataSet : public LineRadarChartDataSet, public virtual IRadarChartDataSet {
 public:
  // No entries, label "DataSet".
  RadarChartDataSet();
  explicit RadarChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "RadarChartDataSet"; }

  bool drawHighlightCircleEnabled() const override { return drawHighlightCircleEnabled_; }
  void setDrawHighlightCircleEnabled(bool enabled) override { drawHighlightCircleEnabled_ = enabled; }
  bool isDrawHighlightCircleEnabled() const override { return drawHighlightCircleEnabled(); }
  std::optional<Color> highlightCircleFillColor() const override { return highlightCircleFillColor_; }
  void setHighlightCircleFillColor(std::optional<Color> color) override { highlightCircleFillColor_ = color; }
  std::optional<Color> highlightCircleStrokeColor() const override { return highlightCircleStrokeColor_; }
  void setHighlightCircleStrokeColor(std::optional<Color> color) override { highlightCircleStrokeColor_ = color; }
  double highlightCircleStrokeAlpha() const override { return highlightCircleStrokeAlpha_; }
  void setHighlightCircleStrokeAlpha(double alpha) override { highlightCircleStrokeAlpha_ = alpha; }
  double highlightCircleInnerRadius() const override { return highlightCircleInnerRadius_; }
  void setHighlightCircleInnerRadius(double radius) override { highlightCircleInnerRadius_ = radius; }
  double highlightCircleOuterRadius() const override { return highlightCircleOuterRadius_; }
  void setHighlightCircleOuterRadius(double radius) override { highlightCircleOuterRadius_ = radius; }
  double highlightCircleStrokeWidth() const override { return highlightCircleStrokeWidth_; }
  void setHighlightCircleStrokeWidth(double width) override { highlightCircleStrokeWidth_ = width; }

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<RadarChartDataSet>(); }

 private:
  bool drawHighlightCircleEnabled_ = false;
  std::optional<Color> highlightCircleFillColor_ = Color::white();
  std::optional<Color> highlightCircleStrokeColor_;
  double highlightCircleStrokeAlpha_ = 0.3;
  double highlightCircleInnerRadius_ = 3.0;
  double highlightCircleOuterRadius_ = 4.0;
  double highlightCircleStrokeWidth_ = 2.0;
};

}  // namespace chart
