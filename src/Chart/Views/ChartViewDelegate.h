#pragma once

namespace chart {

class Animator;
class ChartViewBase;

// What the owner of a chart view may be told by it. Every member does
// nothing unless overridden: a delegate answers only what it overrides.
class ChartViewDelegate {
 public:
  virtual ~ChartViewDelegate() = default;
  // The view's animator has stopped (the phases are back at 1).
  virtual void chartViewAnimatorDidStop(ChartViewBase& /*chartView*/, Animator& /*animator*/) {}
};

}  // namespace chart
