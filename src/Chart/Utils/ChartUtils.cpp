#include "Chart/Utils/ChartUtils.h"

#include <cmath>
#include <string>

#include "Chart/Utils/DefaultValueFormatter.h"
#include "Chart/Utils/NSUIGraphics.h"
#include "platform/graphics/TextMetrics.h"
#include "platform/text/Text.h"
#include "platform/view/View.h"

namespace chart {

using platform::graphics::Rect;
using platform::graphics::currentTextMetrics;

namespace {

// Where text of the size, turned by the angle, is centred so that the anchor
// of its turned bounding box lies at the point. An anchor of exactly
// (0.5, 0.5) is the centre itself.
Point rotatedCentre(Point point, Size size, Point anchor, double angle) {
  if (anchor.x == 0.5 && anchor.y == 0.5) return point;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double boxWidth = std::fabs(size.width * c) + std::fabs(size.height * s);
  const double boxHeight = std::fabs(size.width * s) + std::fabs(size.height * c);
  return Point{point.x - (anchor.x - 0.5) * boxWidth, point.y - (anchor.y - 0.5) * boxHeight};
}

}  // namespace

std::shared_ptr<IValueFormatter> ChartUtils::defaultValueFormatter() {
  static const std::shared_ptr<IValueFormatter> shared = std::make_shared<DefaultValueFormatter>(1);
  return shared;
}

double ChartUtils::roundToNextSignificant(double number) {
  if (!std::isfinite(number) || number == 0) return number;
  const double digits = std::ceil(std::log10(number < 0 ? -number : number));
  const double power = 1 - digits;
  const double magnitude = std::pow(10.0, power);
  if (std::isfinite(magnitude)) return std::round(number * magnitude) / magnitude;
  // A subnormal number: 10^power overflows, so scale in two steps.
  const double first = std::pow(10.0, std::floor(power / 2));
  const double second = std::pow(10.0, power - std::floor(power / 2));
  return std::round(number * first * second) / first / second;
}

int ChartUtils::decimals(double number) {
  if (!std::isfinite(number) || number == 0) return 0;
  const double rounded = roundToNextSignificant(number);
  if (!std::isfinite(rounded)) return 0;
  return static_cast<int>(std::ceil(-std::log10(std::fabs(rounded)))) + 2;
}

void ChartUtils::drawText(DrawingContext& context, std::string_view text, Point point, TextAlignment align,
                          const TextAttributes& attributes) {
  if (align == TextAlignment::center) {
    point.x -= currentTextMetrics().size(text, attributes).width / 2;
  } else if (align == TextAlignment::right) {
    point.x -= currentTextMetrics().size(text, attributes).width;
  }
  context.saveGState();
  context.drawText(text, point, attributes);
  context.restoreGState();
}

void ChartUtils::drawText(DrawingContext& context, std::string_view text, Point point,
                          const TextAttributes& attributes, Point anchor, double angleRadians) {
  context.saveGState();
  if (angleRadians != 0) {
    const Size size = currentTextMetrics().size(text, attributes);
    const Point centre = rotatedCentre(point, size, anchor, angleRadians);
    context.saveGState();
    context.translateBy(centre.x, centre.y);
    context.rotateBy(angleRadians);
    context.drawText(text, Point{-size.width / 2, -size.height / 2}, attributes);
    context.restoreGState();
  } else {
    if (anchor.x != 0 || anchor.y != 0) {
      const Size size = currentTextMetrics().size(text, attributes);
      point = Point{point.x - size.width * anchor.x, point.y - size.height * anchor.y};
    }
    context.drawText(text, point, attributes);
  }
  context.restoreGState();
}

void ChartUtils::drawMultilineText(DrawingContext& context, std::string_view text, Size knownTextSize, Point point,
                                   const TextAttributes& attributes, Point anchor, double angleRadians) {
  const double width = knownTextSize.width;
  const double height = knownTextSize.height;
  context.saveGState();
  if (angleRadians != 0) {
    const Point centre = rotatedCentre(point, knownTextSize, anchor, angleRadians);
    context.saveGState();
    context.translateBy(centre.x, centre.y);
    context.rotateBy(angleRadians);
    context.drawTextInRect(text, Rect(-width / 2, -height / 2, width, height), attributes);
    context.restoreGState();
  } else {
    context.drawTextInRect(text, Rect(point.x - width * anchor.x, point.y - height * anchor.y, width, height),
                           attributes);
  }
  context.restoreGState();
}

void ChartUtils::drawImage(DrawingContext& context, const Image& image, double x, double y, Size size) {
  const Image* drawn = &image;
  std::shared_ptr<const Image> resized;
  const Size own = image.size();
  const double scale = platform::view::mainScreenScale();
  const std::optional<Size> surface = context.surfaceSize();
  // A copy larger than the surface would hold pixels that never show: the
  // image itself is drawn, scaled by the context.
  const bool fits = !surface || (size.width * scale <= surface->width && size.height * scale <= surface->height);
  if (own.width != size.width && own.height != size.height && fits) {
    const std::string key = "resized_" + platform::text::shortestDescription(size.width) + "_" +
                            platform::text::shortestDescription(size.height);
    resized = image.associatedImage(key);
    if (!resized) {
      // A bitmap of its own rather than the current image context: the
      // image, and so its copies, may be drawn from several threads.
      const ImageContext copy = makeImageContext(size, false, scale);
      if (!copy.bitmap) return;
      copy.bitmap->drawingContext().drawImage(image, Rect(0, 0, size.width, size.height));
      resized = copy.bitmap->makeImage(copy.scale);
      if (!resized) return;
      image.setAssociatedImage(key, resized);
    }
    drawn = resized.get();
  }
  context.saveGState();
  context.drawImage(*drawn, Rect(x - size.width / 2, y - size.height / 2, size.width, size.height));
  context.restoreGState();
}

}  // namespace chart
