#pragma once

#include <optional>

#include "Chart/Components/AxisBase.h"

namespace chart {

// The horizontal axis: where its labels go, how they are turned and wrapped,
// and the label measurements its renderer writes on every pass. Its offsets
// start at 5 (x) and 4 (y, the gap between the labels and the content).
class XAxis : public AxisBase {
 public:
  enum class LabelPosition : int { top = 0, bottom = 1, topAndBottom = 2, topInside = 3, bottomInside = 4 };
  static constexpr std::optional<LabelPosition> labelPositionFromRaw(int raw) {
    if (raw >= 0 && raw <= 4) return static_cast<LabelPosition>(raw);
    return std::nullopt;
  }

  XAxis() { setYOffset(4.0); }

  // The longest label's size, and the size of its bounding box once turned
  // by labelRotationAngle; written by the x axis renderer.
  virtual double labelWidth() const { return labelWidth_; }
  virtual void setLabelWidth(double width) { labelWidth_ = width; }
  virtual double labelHeight() const { return labelHeight_; }
  virtual void setLabelHeight(double height) { labelHeight_ = height; }
  virtual double labelRotatedWidth() const { return labelRotatedWidth_; }
  virtual void setLabelRotatedWidth(double width) { labelRotatedWidth_ = width; }
  virtual double labelRotatedHeight() const { return labelRotatedHeight_; }
  virtual void setLabelRotatedHeight(double height) { labelRotatedHeight_ = height; }
  // Degrees.
  virtual double labelRotationAngle() const { return labelRotationAngle_; }
  virtual void setLabelRotationAngle(double degrees) { labelRotationAngle_ = degrees; }
  virtual bool avoidFirstLastClippingEnabled() const { return avoidFirstLastClippingEnabled_; }
  virtual void setAvoidFirstLastClippingEnabled(bool enabled) { avoidFirstLastClippingEnabled_ = enabled; }
  virtual LabelPosition labelPosition() const { return labelPosition_; }
  virtual void setLabelPosition(LabelPosition position) { labelPosition_ = position; }
  virtual bool wordWrapEnabled() const { return wordWrapEnabled_; }
  virtual void setWordWrapEnabled(bool enabled) { wordWrapEnabled_ = enabled; }
  virtual bool isWordWrapEnabled() const { return wordWrapEnabled(); }
  // The share of one x unit's width a wrapped label may take.
  virtual double wordWrapWidthPercent() const { return wordWrapWidthPercent_; }
  virtual void setWordWrapWidthPercent(double percent) { wordWrapWidthPercent_ = percent; }
  virtual bool isAvoidFirstLastClippingEnabled() const { return avoidFirstLastClippingEnabled(); }

 private:
  double labelWidth_ = 1.0;
  double labelHeight_ = 1.0;
  double labelRotatedWidth_ = 1.0;
  double labelRotatedHeight_ = 1.0;
  double labelRotationAngle_ = 0;
  bool avoidFirstLastClippingEnabled_ = false;
  LabelPosition labelPosition_ = LabelPosition::top;
  bool wordWrapEnabled_ = false;
  double wordWrapWidthPercent_ = 1.0;
};

}  // namespace chart
