#include "Chart/Renderers/Renderer.h"

#include "platform/Fatal.h"

namespace chart {

Renderer::Renderer(std::shared_ptr<ViewPortHandler> viewPortHandler) : viewPortHandler_(std::move(viewPortHandler)) {
  if (!viewPortHandler_) platform::fatalError("A renderer cannot be created without a view-port handler");
}

}  // namespace chart
