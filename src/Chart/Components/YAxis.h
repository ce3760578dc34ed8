#pragma once

#include <limits>
#include <optional>
#include <vector>

#include "Chart/Components/AxisBase.h"
#include "Chart/Utils/AxisDependency.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextAttributes.h"

namespace chart {

// A vertical axis, on the left or the right of the chart: where its labels
// go, which of its end labels are drawn, a zero line, the space above and
// below the data, an inverted direction, the width its labels need, and a
// range rule of its own. Its y offset starts at 0.
class YAxis : public AxisBase {
 public:
  using AxisDependency = chart::AxisDependency;
  using Size = platform::graphics::Size;
  using TextAlignment = platform::graphics::TextAlignment;

  enum class LabelPosition : int { outside = 0, inside = 1 };
  static constexpr std::optional<LabelPosition> labelPositionFromRaw(int raw) {
    if (raw == 0 || raw == 1) return static_cast<LabelPosition>(raw);
    return std::nullopt;
  }

  YAxis() { setYOffset(0); }
  explicit YAxis(AxisDependency position) : axisDependency_(position) { setYOffset(0); }

  // The lowest (first) and the highest (last) label.
  virtual bool drawBottomYLabelEntryEnabled() const { return drawBottomYLabelEntryEnabled_; }
  virtual void setDrawBottomYLabelEntryEnabled(bool enabled) { drawBottomYLabelEntryEnabled_ = enabled; }
  virtual bool drawTopYLabelEntryEnabled() const { return drawTopYLabelEntryEnabled_; }
  virtual void setDrawTopYLabelEntryEnabled(bool enabled) { drawTopYLabelEntryEnabled_ = enabled; }
  // Values grow downward.
  virtual bool inverted() const { return inverted_; }
  virtual void setInverted(bool inverted) { inverted_ = inverted; }
  virtual bool drawZeroLineEnabled() const { return drawZeroLineEnabled_; }
  virtual void setDrawZeroLineEnabled(bool enabled) { drawZeroLineEnabled_ = enabled; }
  // Absent draws no zero line.
  virtual const std::optional<Color>& zeroLineColor() const { return zeroLineColor_; }
  virtual void setZeroLineColor(std::optional<Color> color) { zeroLineColor_ = color; }
  virtual double zeroLineWidth() const { return zeroLineWidth_; }
  virtual void setZeroLineWidth(double width) { zeroLineWidth_ = width; }
  virtual double zeroLineDashPhase() const { return zeroLineDashPhase_; }
  virtual void setZeroLineDashPhase(double phase) { zeroLineDashPhase_ = phase; }
  virtual const std::optional<std::vector<double>>& zeroLineDashLengths() const { return zeroLineDashLengths_; }
  virtual void setZeroLineDashLengths(std::optional<std::vector<double>> lengths) {
    zeroLineDashLengths_ = std::move(lengths);
  }
  // Fractions of the data range added above and below the data.
  virtual double spaceTop() const { return spaceTop_; }
  virtual void setSpaceTop(double space) { spaceTop_ = space; }
  virtual double spaceBottom() const { return spaceBottom_; }
  virtual void setSpaceBottom(double space) { spaceBottom_ = space; }
  virtual LabelPosition labelPosition() const { return labelPosition_; }
  virtual void setLabelPosition(LabelPosition position) { labelPosition_ = position; }
  // Kept for callers; the renderer aligns the labels by side and position.
  virtual TextAlignment labelAlignment() const { return labelAlignment_; }
  virtual void setLabelAlignment(TextAlignment alignment) { labelAlignment_ = alignment; }
  // Moves every label right by this much.
  virtual double labelXOffset() const { return labelXOffset_; }
  virtual void setLabelXOffset(double offset) { labelXOffset_ = offset; }
  virtual AxisDependency axisDependency() const { return axisDependency_; }
  // The least and the most width reserved for the labels; a most of 0 or
  // less sets no limit.
  virtual double minWidth() const { return minWidth_; }
  virtual void setMinWidth(double width) { minWidth_ = width; }
  virtual double maxWidth() const { return maxWidth_; }
  virtual void setMaxWidth(double width) { maxWidth_ = width; }

  // The room the labels need beside the content: the longest label in the
  // label font with xOffset on both sides and yOffset above and below, its
  // width brought within minWidth and maxWidth.
  virtual Size requiredSize() const;
  virtual double getRequiredHeightSpace() const { return requiredSize().height; }
  // Whether the chart must make room for the labels: enabled, labels drawn,
  // outside the content.
  virtual bool needsOffset() const;
  virtual bool isInverted() const { return inverted(); }
  virtual bool isDrawBottomYLabelEntryEnabled() const { return drawBottomYLabelEntryEnabled(); }
  virtual bool isDrawTopYLabelEntryEnabled() const { return drawTopYLabelEntryEnabled(); }

  // Each end the custom value or the data's; when they cross, a single custom
  // end places the other (half or one and a half times it); an empty range
  // becomes value ± 1; non-custom ends then get spaceBottom and spaceTop of
  // the data range. spaceMin and spaceMax play no part.
  void calculate(double dataMin, double dataMax) override;

 private:
  bool drawBottomYLabelEntryEnabled_ = true;
  bool drawTopYLabelEntryEnabled_ = true;
  bool inverted_ = false;
  bool drawZeroLineEnabled_ = false;
  std::optional<Color> zeroLineColor_ = Color::gray();
  double zeroLineWidth_ = 1.0;
  double zeroLineDashPhase_ = 0;
  std::optional<std::vector<double>> zeroLineDashLengths_;
  double spaceTop_ = 0.1;
  double spaceBottom_ = 0.1;
  LabelPosition labelPosition_ = LabelPosition::outside;
  TextAlignment labelAlignment_ = TextAlignment::left;
  double labelXOffset_ = 0;
  AxisDependency axisDependency_ = AxisDependency::left;
  double minWidth_ = 0;
  double maxWidth_ = std::numeric_limits<double>::infinity();
};

}  // namespace chart
