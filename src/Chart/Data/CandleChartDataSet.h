#pragma once

#include "Chart/Data/CandleChartDataEntry.h"
#include "Chart/Data/ICandleChartDataSet.h"
#include "Chart/Data/LineScatterCandleRadarChartDataSet.h"

namespace chart {

// The candles of a candle-stick chart. Its y extremes run from the lowest
// low to the highest high; entries that are not candles count for nothing.
//
// It has no copy of its own: a copy carries the inherited settings and this
// class's own ones at their defaults.
class CandleChartDataSet : public LineScatterCandleRadarChartDataSet, public virtual ICandleChartDataSet {
 public:
  // No entries, label "DataSet".
  CandleChartDataSet() = default;
  explicit CandleChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "CandleChartDataSet"; }

  // y by low and high (the entry's y plays no part), then x.
  void calcMinMaxForEntry(const ChartDataEntry& entry) override;
  // Both y extremes by high, then by low.
  void calcMinMaxYForEntry(const ChartDataEntry& entry) override;

  double barSpace() const override { return barSpace_; }
  // Above 0.45 stores 0.45, below 0 (and -0) stores +0; NaN is kept.
  void setBarSpace(double space) override;
  bool showCandleBar() const override { return showCandleBar_; }
  void setShowCandleBar(bool show) override { showCandleBar_ = show; }
  double shadowWidth() const override { return shadowWidth_; }
  void setShadowWidth(double width) override { shadowWidth_ = width; }
  std::optional<Color> shadowColor() const override { return shadowColor_; }
  void setShadowColor(std::optional<Color> color) override { shadowColor_ = color; }
  bool shadowColorSameAsCandle() const override { return shadowColorSameAsCandle_; }
  void setShadowColorSameAsCandle(bool same) override { shadowColorSameAsCandle_ = same; }
  bool isShadowColorSameAsCandle() const override { return shadowColorSameAsCandle(); }
  std::optional<Color> neutralColor() const override { return neutralColor_; }
  void setNeutralColor(std::optional<Color> color) override { neutralColor_ = color; }
  std::optional<Color> increasingColor() const override { return increasingColor_; }
  void setIncreasingColor(std::optional<Color> color) override { increasingColor_ = color; }
  std::optional<Color> decreasingColor() const override { return decreasingColor_; }
  void setDecreasingColor(std::optional<Color> color) override { decreasingColor_ = color; }
  bool increasingFilled() const override { return increasingFilled_; }
  void setIncreasingFilled(bool filled) override { increasingFilled_ = filled; }
  bool isIncreasingFilled() const override { return increasingFilled(); }
  bool decreasingFilled() const override { return decreasingFilled_; }
  void setDecreasingFilled(bool filled) override { decreasingFilled_ = filled; }
  bool isDecreasingFilled() const override { return decreasingFilled(); }

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<CandleChartDataSet>(); }

 private:
  double barSpace_ = 0.1;
  bool showCandleBar_ = true;
  double shadowWidth_ = 1.5;
  std::optional<Color> shadowColor_;
  bool shadowColorSameAsCandle_ = false;
  std::optional<Color> neutralColor_;
  std::optional<Color> increasingColor_;
  std::optional<Color> decreasingColor_;
  bool increasingFilled_ = false;
  bool decreasingFilled_ = true;
};

}  // namespace chart
