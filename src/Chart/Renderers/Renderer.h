#pragma once

#include <memory>

#include "Chart/Utils/ViewPortHandler.h"

namespace chart {

// The root of every chart renderer: the axis renderers, the legend renderer
// and the data renderers all reach the chart's geometry through the
// view-port handler they were made with. There is no renderer without one:
// a null handler stops the program.
class Renderer {
 public:
  explicit Renderer(std::shared_ptr<ViewPortHandler> viewPortHandler);
  virtual ~Renderer() = default;

  // Never null, never replaced.
  const std::shared_ptr<ViewPortHandler>& viewPortHandler() const { return viewPortHandler_; }

 private:
  std::shared_ptr<ViewPortHandler> viewPortHandler_;
};

}  // namespace chart
