#pragma once

namespace chart {

// The common base of every configurable piece of a chart that is not data:
// axes, limit lines, the legend and the description. Each can be switched
// off and carries two offsets whose meaning belongs to the subclass (for the
// axes, the distance between the labels and the content rectangle).
// Subclasses change the offset defaults in their own constructors.
class ComponentBase {
 public:
  ComponentBase() = default;
  virtual ~ComponentBase() = default;

  virtual bool enabled() const { return enabled_; }
  virtual void setEnabled(bool enabled) { enabled_ = enabled; }
  virtual double xOffset() const { return xOffset_; }
  virtual void setXOffset(double offset) { xOffset_ = offset; }
  virtual double yOffset() const { return yOffset_; }
  virtual void setYOffset(double offset) { yOffset_ = offset; }
  // Answers through enabled(), so a subclass that overrides the getter
  // decides this too.
  virtual bool isEnabled() const { return enabled(); }

 private:
  bool enabled_ = true;
  double xOffset_ = 5.0;
  double yOffset_ = 5.0;
};

}  // namespace chart
