#include "Chart/Utils/Fill.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

#include "platform/graphics/SavedGraphicsState.h"

namespace chart {

namespace {

using platform::graphics::GradientOptions;

constexpr GradientOptions bothEnds = GradientOptions::drawsBeforeStart | GradientOptions::drawsAfterEnd;

template <class Resource>
const Resource& present(const Resource& resource, const char* what) {
  if (!resource) throw std::invalid_argument(std::string("Fill: no ") + what + " to paint with");
  return resource;
}

}  // namespace

Fill::Fill(Color color) : type_(FillType::color), color_(color) {}

Fill::Fill(std::shared_ptr<const Gradient> linearGradient, double angle)
    : type_(FillType::linearGradient), gradient_(present(linearGradient, "gradient")), gradientAngle_(angle) {}

Fill::Fill(std::shared_ptr<const Gradient> radialGradient, Point startOffsetPercent, double startRadiusPercent,
           Point endOffsetPercent, double endRadiusPercent)
    : type_(FillType::radialGradient),
      gradient_(present(radialGradient, "gradient")),
      gradientStartOffsetPercent_(startOffsetPercent),
      gradientStartRadiusPercent_(startRadiusPercent),
      gradientEndOffsetPercent_(endOffsetPercent),
      gradientEndRadiusPercent_(endRadiusPercent) {}

Fill::Fill(std::shared_ptr<const Image> image, bool tiled)
    : type_(tiled ? FillType::tiledImage : FillType::image), image_(present(image, "image")) {}

Fill::Fill(std::shared_ptr<Layer> layer) : type_(FillType::layer), layer_(present(layer, "layer")) {}

std::shared_ptr<Fill> Fill::fillWithCGColor(Color color) { return std::make_shared<Fill>(color); }

std::shared_ptr<Fill> Fill::fillWithLinearGradient(std::shared_ptr<const Gradient> gradient, double angle) {
  if (!gradient) return nullptr;
  return std::make_shared<Fill>(std::move(gradient), angle);
}

std::shared_ptr<Fill> Fill::fillWithRadialGradient(std::shared_ptr<const Gradient> gradient, Point startOffsetPercent,
                                                   double startRadiusPercent, Point endOffsetPercent,
                                                   double endRadiusPercent) {
  if (!gradient) return nullptr;
  return std::make_shared<Fill>(std::move(gradient), startOffsetPercent, startRadiusPercent, endOffsetPercent,
                                endRadiusPercent);
}

std::shared_ptr<Fill> Fill::fillWithRadialGradient(std::shared_ptr<const Gradient> gradient) {
  return fillWithRadialGradient(std::move(gradient), Point{0, 0}, 0, Point{0, 0}, 1);
}

std::shared_ptr<Fill> Fill::fillWithCGImage(std::shared_ptr<const Image> image, bool tiled) {
  if (!image) return nullptr;
  return std::make_shared<Fill>(std::move(image), tiled);
}

std::shared_ptr<Fill> Fill::fillWithCGLayer(std::shared_ptr<Layer> layer) {
  if (!layer) return nullptr;
  return std::make_shared<Fill>(std::move(layer));
}

void Fill::fillPath(DrawingContext& context, const Rect& rect) const {
  const FillType fillType = type();
  if (fillType == FillType::empty) return;

  const double w = rect.width();
  const double h = rect.height();
  const double midX = rect.midX();
  const double midY = rect.midY();

  const platform::graphics::SavedGraphicsState saved(context);
  switch (fillType) {
    case FillType::color:
      // The invariant holds the colour; a subclass that answers none paints
      // with the context's own fill colour.
      if (const auto c = color()) context.setFillColor(*c);
      context.fillPath();
      break;
    case FillType::linearGradient: {
      context.clip();
      // Angles turn counter-clockwise on screen, where y grows downward.
      const double a = (360 - gradientAngle()) * std::numbers::pi / 180;
      const Point start{midX - w * std::cos(a) / 2, midY - h * std::sin(a) / 2};
      const Point end{midX + w * std::cos(a) / 2, midY + h * std::sin(a) / 2};
      if (const auto g = gradient()) context.drawLinearGradient(*g, start, end, bothEnds);
      break;
    }
    case FillType::radialGradient: {
      context.clip();
      const double radius = std::max(w, h) / 2;
      const Point startOffset = gradientStartOffsetPercent();
      const Point endOffset = gradientEndOffsetPercent();
      const Point startCenter{midX + w * startOffset.x, midY + h * startOffset.y};
      const Point endCenter{midX + w * endOffset.x, midY + h * endOffset.y};
      if (const auto g = gradient()) {
        context.drawRadialGradient(*g, startCenter, radius * gradientStartRadiusPercent(), endCenter,
                                   radius * gradientEndRadiusPercent(), bothEnds);
      }
      break;
    }
    case FillType::image:
    case FillType::tiledImage:
      context.clip();
      if (const auto picture = image()) {
        if (fillType == FillType::tiledImage) {
          context.drawTiledImage(*picture, rect);
        } else {
          context.drawImage(*picture, rect);
        }
      }
      break;
    case FillType::layer:
      context.clip();
      if (const auto surface = layer()) context.drawLayer(*surface, rect);
      break;
    default:
      // A raw value outside the known types paints nothing.
      break;
  }
}

}  // namespace chart
