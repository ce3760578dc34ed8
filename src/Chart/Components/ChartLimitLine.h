#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Chart/Components/ComponentBase.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"

namespace chart {

// A line drawn across the chart at one value of an axis, with an optional
// label. Held by std::shared_ptr; two limit lines are the same only when they
// are the same object.
class ChartLimitLine : public ComponentBase {
 public:
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;

  // Where the label sits, on screen (y grows downward): above or below the
  // line, at its left or right end, aligned to that end.
  enum class LabelPosition : int { topLeft = 0, topRight = 1, bottomLeft = 2, bottomRight = 3 };
  static constexpr std::optional<LabelPosition> labelPositionFromRaw(int raw) {
    if (raw >= 0 && raw <= 3) return static_cast<LabelPosition>(raw);
    return std::nullopt;
  }

  static constexpr Color defaultLineColor = Color::rgb(237.0 / 255.0, 91.0 / 255.0, 91.0 / 255.0);

  ChartLimitLine() = default;
  explicit ChartLimitLine(double limit) : limit_(limit) {}
  ChartLimitLine(double limit, std::string label) : limit_(limit), label_(std::move(label)) {}
  ChartLimitLine(const ChartLimitLine&) = delete;
  ChartLimitLine& operator=(const ChartLimitLine&) = delete;

  virtual double limit() const { return limit_; }
  virtual void setLimit(double limit) { limit_ = limit; }
  virtual double lineWidth() const { return lineWidth_; }
  // Stores the width brought into [0.2, 12].
  virtual void setLineWidth(double width);
  virtual Color lineColor() const { return lineColor_; }
  virtual void setLineColor(const Color& color) { lineColor_ = color; }
  virtual double lineDashPhase() const { return lineDashPhase_; }
  virtual void setLineDashPhase(double phase) { lineDashPhase_ = phase; }
  // Absent draws a solid line.
  virtual const std::optional<std::vector<double>>& lineDashLengths() const { return lineDashLengths_; }
  virtual void setLineDashLengths(std::optional<std::vector<double>> lengths) { lineDashLengths_ = std::move(lengths); }
  virtual Color valueTextColor() const { return valueTextColor_; }
  virtual void setValueTextColor(const Color& color) { valueTextColor_ = color; }
  virtual const Font& valueFont() const { return valueFont_; }
  virtual void setValueFont(Font font) { valueFont_ = std::move(font); }
  virtual bool drawLabelEnabled() const { return drawLabelEnabled_; }
  virtual void setDrawLabelEnabled(bool enabled) { drawLabelEnabled_ = enabled; }
  virtual const std::string& label() const { return label_; }
  virtual void setLabel(std::string label) { label_ = std::move(label); }
  virtual LabelPosition labelPosition() const { return labelPosition_; }
  virtual void setLabelPosition(LabelPosition position) { labelPosition_ = position; }

 private:
  double limit_ = 0;
  double lineWidth_ = 2.0;
  Color lineColor_ = defaultLineColor;
  double lineDashPhase_ = 0;
  std::optional<std::vector<double>> lineDashLengths_;
  Color valueTextColor_ = Color::labelColor();
  Font valueFont_ = Font::systemFont(13);
  bool drawLabelEnabled_ = true;
  std::string label_;
  LabelPosition labelPosition_ = LabelPosition::topRight;
};

}  // namespace chart
