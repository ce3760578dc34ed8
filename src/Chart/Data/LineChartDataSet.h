#pragma once

#include "Chart/Data/ILineChartDataSet.h"
#include "Chart/Data/LineRadarChartDataSet.h"
#include "Chart/Utils/IFillFormatter.h"

namespace chart {

// The data set the line renderer draws: the line's mode and cubic
// intensity, the circles at the entries, the dash pattern and cap, and the
// fill formatter that places the fill line (a DefaultFillFormatter of its
// own unless given another).
class LineChartDataSet : public LineRadarChartDataSet, public virtual ILineChartDataSet {
 public:
  using Mode = LineChartDataSetMode;

  // No entries, label "DataSet".
  LineChartDataSet();
  explicit LineChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "LineChartDataSet"; }

  Mode mode() const override { return mode_; }
  void setMode(Mode mode) override { mode_ = mode; }
  double cubicIntensity() const override { return cubicIntensity_; }
  // Above 1 stores 1, else below 0.05 stores 0.05; a NaN is stored as it is.
  void setCubicIntensity(double intensity) override;
  double circleRadius() const override { return circleRadius_; }
  void setCircleRadius(double radius) override { circleRadius_ = radius; }
  double circleHoleRadius() const override { return circleHoleRadius_; }
  void setCircleHoleRadius(double radius) override { circleHoleRadius_ = radius; }
  const std::vector<Color>& circleColors() const override { return circleColors_; }
  void setCircleColors(std::vector<Color> colors) override { circleColors_ = std::move(colors); }
  std::optional<Color> getCircleColor(int64_t index) const override { return colorInTurn(circleColors(), index); }
  void setCircleColor(const Color& color) override { setCircleColors({color}); }
  void resetCircleColors(int64_t) override { setCircleColors({}); }
  bool drawCirclesEnabled() const override { return drawCirclesEnabled_; }
  void setDrawCirclesEnabled(bool enabled) override { drawCirclesEnabled_ = enabled; }
  bool isDrawCirclesEnabled() const override { return drawCirclesEnabled(); }
  std::optional<Color> circleHoleColor() const override { return circleHoleColor_; }
  void setCircleHoleColor(std::optional<Color> color) override { circleHoleColor_ = color; }
  bool drawCircleHoleEnabled() const override { return drawCircleHoleEnabled_; }
  void setDrawCircleHoleEnabled(bool enabled) override { drawCircleHoleEnabled_ = enabled; }
  bool isDrawCircleHoleEnabled() const override { return drawCircleHoleEnabled(); }
  double lineDashPhase() const override { return lineDashPhase_; }
  virtual void setLineDashPhase(double phase) { lineDashPhase_ = phase; }
  const std::optional<std::vector<double>>& lineDashLengths() const override { return lineDashLengths_; }
  void setLineDashLengths(std::optional<std::vector<double>> lengths) override {
    lineDashLengths_ = std::move(lengths);
  }
  LineCap lineCapType() const override { return lineCapType_; }
  void setLineCapType(LineCap cap) override { lineCapType_ = cap; }
  std::shared_ptr<IFillFormatter> fillFormatter() const override { return fillFormatter_; }
  void setFillFormatter(std::shared_ptr<IFillFormatter> formatter) override;

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<LineChartDataSet>(); }
  // Adds the circle, dash, cap and mode settings and the same fill
  // formatter object.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  Mode mode_ = Mode::linear;
  double cubicIntensity_ = 0.2;
  double circleRadius_ = 8.0;
  double circleHoleRadius_ = 4.0;
  // Empty until the constructor has run, which then appends the default.
  std::vector<Color> circleColors_;
  bool drawCirclesEnabled_ = true;
  std::optional<Color> circleHoleColor_ = Color::white();
  bool drawCircleHoleEnabled_ = true;
  double lineDashPhase_ = 0;
  std::optional<std::vector<double>> lineDashLengths_;
  LineCap lineCapType_ = LineCap::butt;
  std::shared_ptr<IFillFormatter> fillFormatter_;
};

}  // namespace chart
