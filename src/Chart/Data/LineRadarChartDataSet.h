#pragma once

#include "Chart/Data/ILineRadarChartDataSet.h"
#include "Chart/Data/LineScatterCandleRadarChartDataSet.h"
#include "Chart/Utils/Fill.h"

namespace chart {

// Adds the filled area below the line (a fill, or else a plain colour at an
// opacity; off at first) and the line's width: the base of the line and
// radar data sets.
class LineRadarChartDataSet : public LineScatterCandleRadarChartDataSet, public virtual ILineRadarChartDataSet {
 public:
  using LineScatterCandleRadarChartDataSet::LineScatterCandleRadarChartDataSet;

  std::string className() const override { return "LineRadarChartDataSet"; }

  Color fillColor() const override { return fillColor_; }
  // Stores the colour, then setFill(nullptr).
  void setFillColor(const Color& color) override;
  std::shared_ptr<const Fill> fill() const override { return fill_; }
  void setFill(std::shared_ptr<const Fill> fill) override { fill_ = std::move(fill); }
  double fillAlpha() const override { return fillAlpha_; }
  void setFillAlpha(double alpha) override { fillAlpha_ = alpha; }
  double lineWidth() const override { return lineWidth_; }
  // Above 10 stores 10, else below 0 stores 0; a NaN is stored as it is.
  void setLineWidth(double width) override;
  bool drawFilledEnabled() const override { return drawFilledEnabled_; }
  void setDrawFilledEnabled(bool enabled) override { drawFilledEnabled_ = enabled; }
  bool isDrawFilledEnabled() const override { return drawFilledEnabled(); }

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<LineRadarChartDataSet>(); }
  // Adds the same fill object, the opacity, the stored fill colour and line
  // width (the colour without clearing the copied fill) and the switch.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  Color fillColor_ = defaultColor;
  std::shared_ptr<const Fill> fill_;
  double fillAlpha_ = 0.33;
  double lineWidth_ = 1.0;
  bool drawFilledEnabled_ = false;
};

}  // namespace chart
