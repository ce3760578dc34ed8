#include "platform/graphics/Layer.h"

#include <utility>

#include "platform/Fatal.h"

namespace platform::graphics {

Layer::Layer(Size size, std::unique_ptr<DrawingContext> surface) : size_(size), surface_(std::move(surface)) {
  if (!surface_) fatalError("Layer needs a surface to draw into");
}

}  // namespace platform::graphics
