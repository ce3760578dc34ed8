#pragma once

#include <memory>
#include <string_view>

#include "Chart/Utils/IValueFormatter.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextAttributes.h"

namespace chart {

using platform::graphics::DrawingContext;
using platform::graphics::Image;
using platform::graphics::Point;
using platform::graphics::Size;
using platform::graphics::TextAlignment;
using platform::graphics::TextAttributes;

// The number and drawing helpers every renderer shares. Text is measured with
// the current TextMetrics. Every drawing operation saves the context's state
// first and restores it before it returns, so the state and transformation
// are afterwards what they were.
class ChartUtils {
 public:
  // Keeps one significant digit, rounding halves away from zero: 1234 gives
  // 1000, 0.0456 gives 0.05, 95 gives 100. Zero, infinities and not-a-number
  // come back as they are.
  static double roundToNextSignificant(double number);
  // How many fraction digits to show for values `number` apart: 0.5 gives 3,
  // 1 gives 2, 100 gives 0, 1000 gives -1. 0 for zero and for numbers that
  // are not finite. A negative number counts by its magnitude.
  static int decimals(double number);

  // The value formatter of every data set that has none of its own: one
  // DefaultValueFormatter with one decimal, made on the first call (once,
  // even when first calls race) and kept for the life of the process.
  static std::shared_ptr<IValueFormatter> defaultValueFormatter();

  // One line with its top-left corner at the point, moved left by the text's
  // width for right alignment and by half of it for centred text.
  static void drawText(DrawingContext& context, std::string_view text, Point point, TextAlignment align,
                       const TextAttributes& attributes = {});
  // The text placed by an anchor in fractions of its size ((0, 0) its
  // top-left corner at the point, (0.5, 0.5) its centre) and turned by the
  // angle about its centre.
  static void drawText(DrawingContext& context, std::string_view text, Point point, const TextAttributes& attributes,
                       Point anchor, double angleRadians);
  // Like the anchored drawText, with a size the caller measured (the text's
  // bounding rectangle within a constraint of its own) laid out in that box.
  static void drawMultilineText(DrawingContext& context, std::string_view text, Size knownTextSize, Point point,
                                const TextAttributes& attributes, Point anchor, double angleRadians);
  // The image centred on (x, y) at the size. When both its width and its
  // height differ from the size, a copy resized in an image context is
  // drawn instead; the copy is kept with the image under
  // "resized_<width>_<height>" and reused (the image keeps the last few
  // sizes). Nothing is drawn when no copy can be made. A copy larger than
  // the context's surface is never made: the image itself is drawn, scaled.
  // Safe to call from several threads with the same image, each drawing on
  // its own context.
  static void drawImage(DrawingContext& context, const Image& image, double x, double y, Size size);
};

}  // namespace chart
