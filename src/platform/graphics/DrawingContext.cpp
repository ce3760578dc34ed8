#include "platform/graphics/DrawingContext.h"

#include <cmath>

#include "platform/text/Text.h"

namespace platform::graphics {

namespace {

bool finite(double v) { return std::isfinite(v); }

}  // namespace

std::optional<LineCap> lineCapFromRaw(int raw) {
  if (raw < 0 || raw > 2) return std::nullopt;
  return static_cast<LineCap>(raw);
}

std::string_view describe(DropReason reason) {
  switch (reason) {
    case DropReason::invalidGeometry: return "geometry that is not a finite number";
    case DropReason::singularTransform: return "a transformation that cannot be undone";
    case DropReason::invalidStyle: return "a colour, line width, dash or gradient stop out of range";
    case DropReason::invalidText: return "text that is not valid UTF-8";
    case DropReason::refusedFont: return "a font that text cannot be drawn in";
    case DropReason::unbalancedRestore: return "a restore with nothing saved";
  }
  return "an unknown reason";
}

std::string Drop::description() const { return operation + ": " + std::string(describe(reason)); }

std::optional<Font> drawableFont(const Font& font) {
  if (!(font.pointSize > 0) || !finite(font.pointSize)) return std::nullopt;
  Font drawn = font;
  if (drawn.pointSize > Font::largestSize) drawn.pointSize = Font::largestSize;
  if (drawn.pointSize < Font::smallestSize) drawn.pointSize = Font::smallestSize;
  if (!text::isValidUtf8(drawn.family)) drawn.family = Font::systemFamily;
  return drawn;
}

bool isInvertible(const AffineTransform& t) {
  for (const double v : {t.a, t.b, t.c, t.d, t.tx, t.ty})
    if (!finite(v)) return false;
  const double det = t.a * t.d - t.b * t.c;
  if (!finite(det) || det == 0) return false;
  const AffineTransform inverse = t.inverted();
  for (const double v : {inverse.a, inverse.b, inverse.c, inverse.d, inverse.tx, inverse.ty})
    if (!finite(v)) return false;
  return true;
}

void DrawingContext::clearDrops() {
  dropped_ = 0;
  firstDrop_.reset();
}

bool DrawingContext::accept(bool valid, DropReason reason, std::string_view operation) {
  if (valid) return true;
  dropped_ |= static_cast<unsigned>(reason);
  if (!firstDrop_) firstDrop_ = Drop{reason, std::string(operation)};
  return false;
}

bool DrawingContext::checkPoint(Point p, std::string_view operation) {
  return accept(finite(p.x) && finite(p.y), DropReason::invalidGeometry, operation);
}

bool DrawingContext::checkRect(const Rect& r, std::string_view operation) {
  return accept(finite(r.origin.x) && finite(r.origin.y) && finite(r.size.width) && finite(r.size.height),
                DropReason::invalidGeometry, operation);
}

bool DrawingContext::checkColor(const Color& color, std::string_view operation) {
  bool valid = true;
  for (const double v : {color.red, color.green, color.blue, color.alpha}) valid = valid && v >= 0 && v <= 1;
  return accept(valid, DropReason::invalidStyle, operation);
}

bool DrawingContext::checkLineWidth(double width, std::string_view operation) {
  return accept(finite(width) && width >= 0, DropReason::invalidStyle, operation);
}

bool DrawingContext::checkLineDash(double phase, const std::vector<double>& lengths, std::string_view operation) {
  if (lengths.empty()) return true;
  bool valid = finite(phase);
  double total = 0;
  for (const double length : lengths) {
    valid = valid && finite(length) && length >= 0;
    total += length;
  }
  return accept(valid && total > 0, DropReason::invalidStyle, operation);
}

bool DrawingContext::checkTransform(const AffineTransform& step, const AffineTransform& current,
                                    std::string_view operation) {
  return accept(isInvertible(step) && isInvertible(step.concat(current)), DropReason::singularTransform, operation);
}

bool DrawingContext::checkGradient(const Gradient& gradient, std::string_view operation) {
  bool valid = true;
  for (const GradientStop& stop : gradient.stops) {
    valid = valid && stop.location >= 0 && stop.location <= 1;
    for (const double v : {stop.color.red, stop.color.green, stop.color.blue, stop.color.alpha})
      valid = valid && v >= 0 && v <= 1;
  }
  return accept(valid, DropReason::invalidStyle, operation);
}

bool DrawingContext::checkText(std::string_view text, std::string_view operation) {
  return accept(text::isValidUtf8(text), DropReason::invalidText, operation);
}

std::optional<Font> DrawingContext::checkFont(const Font& font, std::string_view operation) {
  std::optional<Font> drawn = drawableFont(font);
  accept(drawn && *drawn == font, DropReason::refusedFont, operation);
  return drawn;
}

bool DrawingContext::checkRestore(bool somethingSaved) {
  return accept(somethingSaved, DropReason::unbalancedRestore, "restoreGState");
}

}  // namespace platform::graphics
