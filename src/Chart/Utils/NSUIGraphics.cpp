#include "Chart/Utils/NSUIGraphics.h"

#include <cmath>
#include <vector>

#include "platform/view/AccessibilityElement.h"
#include "platform/view/View.h"

namespace chart {

namespace {

std::vector<ImageContext>& stack() {
  static std::vector<ImageContext> contexts;
  return contexts;
}

// trunc(points · scale) as a pixel count, or -1 when it is not a number that
// a bitmap side could be.
int64_t pixels(double points, double scale) {
  const double exact = std::trunc(points * scale);
  if (!std::isfinite(exact) || exact < 1 || exact > static_cast<double>(platform::graphics::maxBitmapSide))
    return -1;
  return static_cast<int64_t>(exact);
}

}  // namespace

ImageContext makeImageContext(Size size, bool opaque, double scale) {
  if (scale == 0) scale = platform::view::mainScreenScale();
  const int64_t width = pixels(size.width, scale);
  const int64_t height = pixels(size.height, scale);
  std::unique_ptr<platform::graphics::BitmapContext> bitmap;
  if (scale > 0 && width > 0 && height > 0) bitmap = platform::graphics::makeBitmapContext(width, height, opaque);
  if (bitmap) {
    bitmap->drawingContext().scaleBy(scale, scale);
    bitmap->drawingContext().saveGState();
  }
  return ImageContext{scale, std::move(bitmap)};
}

void NSUIGraphicsBeginImageContextWithOptions(Size size, bool opaque, double scale) {
  stack().push_back(makeImageContext(size, opaque, scale));
}

DrawingContext* NSUIGraphicsGetCurrentContext() {
  if (stack().empty() || !stack().back().bitmap) return nullptr;
  return &stack().back().bitmap->drawingContext();
}

std::shared_ptr<const Image> NSUIGraphicsGetImageFromCurrentImageContext() {
  if (stack().empty() || !stack().back().bitmap) return nullptr;
  return stack().back().bitmap->makeImage(stack().back().scale);
}

void NSUIGraphicsEndImageContext() {
  if (!stack().empty()) stack().pop_back();
}

std::optional<EncodedImage> NSUIImagePNGRepresentation(const Image& image) {
  return platform::graphics::pngData(image);
}

std::optional<EncodedImage> NSUIImageJPEGRepresentation(const Image& image, double quality) {
  return platform::graphics::jpegData(image, quality);
}

void NSUIAccessibilityPostLayoutChangedNotification(const std::shared_ptr<platform::Object>& element) {
  if (element) platform::view::postAccessibilityNotification(element, platform::view::layoutChangedNotification);
}

}  // namespace chart
