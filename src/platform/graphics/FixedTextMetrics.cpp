#include "platform/graphics/FixedTextMetrics.h"

#include <algorithm>

namespace platform::graphics {

Size FixedTextMetrics::size(std::string_view text, const TextAttributes& attributes) const {
  return boundingRect(text, Size{0, 0}, attributes).size;
}

Rect FixedTextMetrics::boundingRect(std::string_view text, Size constraint, const TextAttributes& attributes) const {
  const double pointSize = attributes.resolvedFont().pointSize;
  const auto width = [pointSize](std::string_view line) {
    return advanceFactor * pointSize * static_cast<double>(codePointCount(line));
  };
  const std::vector<std::string> lines = breakLines(text, constraint.width, width);
  double widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, width(line));
  return Rect(0, 0, widest, lineFactor * pointSize * static_cast<double>(lines.size()));
}

double FixedTextMetrics::fontLineHeight(const Font& font) const { return boundingBoxFactor * font.pointSize; }

}  // namespace platform::graphics
