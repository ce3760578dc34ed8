#pragma once

#include <memory>
#include <optional>

#include "platform/Object.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

// The platform glue of the chart library: offscreen image contexts, image
// encoders and the accessibility notification. The stack of current image
// contexts and the notification are the main thread's; makeImageContext and
// the encoders may be used on any thread.
namespace chart {

using platform::graphics::DrawingContext;
using platform::graphics::EncodedImage;
using platform::graphics::Image;
using platform::graphics::Size;

// An offscreen bitmap as an image context opens one (below), drawn in
// points, with the scale it was opened at (a scale of 0 is the main
// screen's); no bitmap when none can be opened. It is no one's current
// context, so it may be used on any thread the drawing back end allows.
struct ImageContext {
  double scale = 1;
  std::unique_ptr<platform::graphics::BitmapContext> bitmap;
};
ImageContext makeImageContext(Size size, bool opaque, double scale);

// Opens an offscreen bitmap of trunc(width · scale) × trunc(height · scale)
// pixels (a scale of 0 is the main screen's) and makes it the current image
// context, drawn in points with y growing downward. A bitmap that cannot be
// opened (a side below one pixel, a negative scale, or sizes and scales
// that are not finite numbers) still pushes an entry, empty, so that the paired end pops exactly
// it: the current context and image are then none.
void NSUIGraphicsBeginImageContextWithOptions(Size size, bool opaque, double scale);
// The current image context, or nullptr when none is open.
DrawingContext* NSUIGraphicsGetCurrentContext();
// What the current image context holds, as an image of its pixel size
// divided by its scale; nothing when no context is open.
std::shared_ptr<const Image> NSUIGraphicsGetImageFromCurrentImageContext();
// Closes the current image context; nothing when none is open.
void NSUIGraphicsEndImageContext();

// The image encoded by the drawing back end in force; nothing when it cannot
// encode (the std-only default cannot).
std::optional<EncodedImage> NSUIImagePNGRepresentation(const Image& image);
// `quality` is the compression factor, 0 (smallest) to 1 (best).
std::optional<EncodedImage> NSUIImageJPEGRepresentation(const Image& image, double quality);

// Posts the layout-changed accessibility notification on the element;
// nothing without one.
void NSUIAccessibilityPostLayoutChangedNotification(const std::shared_ptr<platform::Object>& element);

}  // namespace chart
