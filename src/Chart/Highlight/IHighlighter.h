#pragma once

#include <memory>

#include "Chart/Utils/Highlight.h"

namespace chart {

// Turns a touch point of a chart view into the highlight of the value the
// touch means, or none.
class IHighlighter {
 public:
  virtual ~IHighlighter() = default;
  // The point is in points of the chart view; nullptr when the touch means
  // no value.
  virtual std::shared_ptr<Highlight> getHighlight(double x, double y) = 0;
};

}  // namespace chart
