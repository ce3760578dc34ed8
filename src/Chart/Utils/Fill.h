#pragma once

#include <memory>
#include <optional>

#include "platform/graphics/Color.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Layer.h"

namespace chart {

// What a fill paints with.
enum class FillType : int {
  empty = 0,
  color = 1,
  linearGradient = 2,
  radialGradient = 3,
  image = 4,
  tiledImage = 5,
  layer = 6,
};

constexpr std::optional<FillType> fillTypeFromRaw(int raw) {
  if (raw >= 0 && raw <= 6) return static_cast<FillType>(raw);
  return std::nullopt;
}

// How an area (the region under a line, a radar polygon) is painted: a flat
// colour, a linear or radial gradient, an image drawn once or tiled, or a
// layer. Immutable once made, so one fill can serve several data sets.
//
// A fill always holds what it paints with: the constructors throw
// std::invalid_argument for an absent gradient, image or layer, and the
// factories (fillWith...) answer nullptr for one.
//
// The getters are virtual and fillPath reads everything through them, so a
// subclass that overrides one changes what is painted.
class Fill {
 public:
  using Color = platform::graphics::Color;
  using DrawingContext = platform::graphics::DrawingContext;
  using Gradient = platform::graphics::Gradient;
  using Image = platform::graphics::Image;
  using Layer = platform::graphics::Layer;
  using Point = platform::graphics::Point;
  using Rect = platform::graphics::Rect;

  // Paints nothing.
  Fill() = default;
  explicit Fill(Color color);
  // `angle` in degrees: 0 runs from the left edge to the right edge, 90 from
  // the bottom edge to the top edge, 270 from the top edge to the bottom one.
  Fill(std::shared_ptr<const Gradient> linearGradient, double angle);
  // The offsets are fractions of the painted rectangle's width and height
  // from its centre; the radii fractions of half its longer side.
  Fill(std::shared_ptr<const Gradient> radialGradient, Point startOffsetPercent, double startRadiusPercent,
       Point endOffsetPercent, double endRadiusPercent);
  // Drawn once, stretched to the rectangle, or tiled at the image's own size.
  Fill(std::shared_ptr<const Image> image, bool tiled);
  explicit Fill(std::shared_ptr<Layer> layer);

  Fill(const Fill&) = delete;
  Fill& operator=(const Fill&) = delete;
  virtual ~Fill() = default;

  static std::shared_ptr<Fill> fillWithCGColor(Color color);
  static std::shared_ptr<Fill> fillWithColor(Color color) { return fillWithCGColor(color); }
  static std::shared_ptr<Fill> fillWithLinearGradient(std::shared_ptr<const Gradient> gradient, double angle);
  static std::shared_ptr<Fill> fillWithRadialGradient(std::shared_ptr<const Gradient> gradient,
                                                      Point startOffsetPercent, double startRadiusPercent,
                                                      Point endOffsetPercent, double endRadiusPercent);
  // Centred on the rectangle, from radius 0 to half its longer side.
  static std::shared_ptr<Fill> fillWithRadialGradient(std::shared_ptr<const Gradient> gradient);
  static std::shared_ptr<Fill> fillWithCGImage(std::shared_ptr<const Image> image, bool tiled);
  static std::shared_ptr<Fill> fillWithImage(std::shared_ptr<const Image> image, bool tiled) {
    return fillWithCGImage(std::move(image), tiled);
  }
  static std::shared_ptr<Fill> fillWithCGImage(std::shared_ptr<const Image> image) {
    return fillWithCGImage(std::move(image), false);
  }
  static std::shared_ptr<Fill> fillWithImage(std::shared_ptr<const Image> image) {
    return fillWithCGImage(std::move(image), false);
  }
  static std::shared_ptr<Fill> fillWithCGLayer(std::shared_ptr<Layer> layer);

  virtual FillType type() const { return type_; }
  virtual std::optional<Color> color() const { return color_; }
  virtual std::shared_ptr<const Gradient> gradient() const { return gradient_; }
  virtual double gradientAngle() const { return gradientAngle_; }
  virtual Point gradientStartOffsetPercent() const { return gradientStartOffsetPercent_; }
  virtual double gradientStartRadiusPercent() const { return gradientStartRadiusPercent_; }
  virtual Point gradientEndOffsetPercent() const { return gradientEndOffsetPercent_; }
  virtual double gradientEndRadiusPercent() const { return gradientEndRadiusPercent_; }
  virtual std::shared_ptr<const Image> image() const { return image_; }
  virtual std::shared_ptr<Layer> layer() const { return layer_; }

  // Paints the context's current path (the area's outline, added by the
  // caller) within `rect`, the area's bounding rectangle. Every type but
  // `empty` saves the graphics state, clips to the path (or fills it, for a
  // colour), paints and restores, consuming the path. An empty fill touches
  // nothing, so the caller's path stays in the context: begin a new path
  // before the next shape.
  virtual void fillPath(DrawingContext& context, const Rect& rect) const;

 private:
  FillType type_ = FillType::empty;
  std::optional<Color> color_;
  std::shared_ptr<const Gradient> gradient_;
  double gradientAngle_ = 0;
  Point gradientStartOffsetPercent_;
  double gradientStartRadiusPercent_ = 0;
  Point gradientEndOffsetPercent_;
  double gradientEndRadiusPercent_ = 0;
  std::shared_ptr<const Image> image_;
  std::shared_ptr<Layer> layer_;
};

}  // namespace chart
