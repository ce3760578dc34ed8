#pragma once

#include <memory>

#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Geometry.h"

namespace platform::graphics {

// An offscreen surface of a fixed size. What is drawn into its context stays
// in the layer and can be drawn into other contexts any number of times
// (DrawingContext::drawLayer), scaled to the rectangle given there.
class Layer {
 public:
  // `surface` draws into the layer's pixels (or records, in tests); a layer
  // without one stops the program.
  Layer(Size size, std::unique_ptr<DrawingContext> surface);

  Size size() const { return size_; }
  DrawingContext& context() { return *surface_; }
  const DrawingContext& context() const { return *surface_; }

 private:
  Size size_;
  std::unique_ptr<DrawingContext> surface_;
};

}  // namespace platform::graphics
