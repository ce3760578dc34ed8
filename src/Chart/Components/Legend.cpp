#include "Chart/Components/Legend.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "Chart/Utils/ViewPortHandler.h"
#include "platform/graphics/TextAttributes.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::TextAttributes;
using platform::graphics::currentTextMetrics;

namespace {

void requireEntries(const std::vector<LegendEntryPtr>& entries) {
  for (const auto& entry : entries) {
    if (!entry) throw std::invalid_argument("A legend cannot hold a null entry");
  }
}

// A label as the legend measures it: with the font as the only attribute.
Legend::Size labelSize(std::string_view label, const Legend::Font& font) {
  return currentTextMetrics().size(label, TextAttributes{font, std::nullopt, std::nullopt});
}

// The entry's own form size, or the legend's when the entry leaves it open.
double formSizeOf(const LegendEntry& entry, double legendFormSize) {
  return std::isnan(entry.formSize()) ? legendFormSize : entry.formSize();
}

}  // namespace

std::optional<Legend::HorizontalAlignment> Legend::horizontalAlignmentFromRaw(int raw) {
  if (raw >= 0 && raw <= 2) return static_cast<HorizontalAlignment>(raw);
  return std::nullopt;
}

std::optional<Legend::VerticalAlignment> Legend::verticalAlignmentFromRaw(int raw) {
  if (raw >= 0 && raw <= 2) return static_cast<VerticalAlignment>(raw);
  return std::nullopt;
}

std::optional<Legend::Orientation> Legend::orientationFromRaw(int raw) {
  if (raw == 0 || raw == 1) return static_cast<Orientation>(raw);
  return std::nullopt;
}

std::optional<Legend::Direction> Legend::directionFromRaw(int raw) {
  if (raw == 0 || raw == 1) return static_cast<Direction>(raw);
  return std::nullopt;
}

Legend::Legend() {
  setXOffset(5);
  setYOffset(3);
}

Legend::Legend(std::vector<LegendEntryPtr> entries) {
  requireEntries(entries);
  entries_ = std::move(entries);
}

void Legend::setEntries(std::vector<LegendEntryPtr> entries) {
  requireEntries(entries);
  entries_ = std::move(entries);
}

void Legend::setExtraEntries(std::vector<LegendEntryPtr> entries) {
  requireEntries(entries);
  extraEntries_ = std::move(entries);
}

void Legend::setCustom(std::vector<LegendEntryPtr> entries) {
  setEntries(std::move(entries));
  isLegendCustom_ = true;
}

Legend::Size Legend::getMaximumEntrySize(const Font& font) const {
  double maxFormSize = 0;
  double maxLabelWidth = 0;
  double maxLabelHeight = 0;
  const double legendFormSize = formSize();
  for (const auto& entry : entries()) {
    maxFormSize = std::max(maxFormSize, formSizeOf(*entry, legendFormSize));
    if (const auto& label = entry->label()) {
      const Size size = labelSize(*label, font);
      maxLabelWidth = std::max(maxLabelWidth, size.width);
      maxLabelHeight = std::max(maxLabelHeight, size.height);
    }
  }
  return Size{maxFormSize + maxLabelWidth + formToTextSpace(), maxLabelHeight};
}

void Legend::calculateDimensions(const Font& labelFont, const ViewPortHandler& viewPortHandler) {
  const Size maxEntrySize = getMaximumEntrySize(labelFont);
  const double defaultFormSize = formSize();
  const double stack = stackSpace();
  const double formToText = formToTextSpace();
  const double xSpace = xEntrySpace();
  const double ySpace = yEntrySpace();
  const bool wordWrap = wordWrapEnabled();
  const std::vector<LegendEntryPtr> items = entries();
  const int64_t n = static_cast<int64_t>(items.size());

  setTextWidthMax(maxEntrySize.width);
  setTextHeightMax(maxEntrySize.height);

  const double lineHeight = currentTextMetrics().fontLineHeight(labelFont);

  if (orientation() == Orientation::vertical) {
    double maxWidth = 0;
    double width = 0;
    double maxHeight = 0;
    bool stacked = false;
    for (int64_t i = 0; i < n; ++i) {
      const LegendEntry& entry = *items[static_cast<size_t>(i)];
      const bool drawingForm = entry.form() != Form::none;
      const double entryFormSize = formSizeOf(entry, defaultFormSize);
      if (!stacked) width = 0;
      if (drawingForm) {
        if (stacked) width += stack;
        width += entryFormSize;
      }
      if (const auto& label = entry.label()) {
        if (drawingForm && !stacked) {
          width += formToText;
        } else if (stacked) {
          // The stack keeps its line; the label starts the next one.
          maxWidth = std::max(maxWidth, width);
          maxHeight += lineHeight + ySpace;
          width = 0;
          stacked = false;
        }
        width += labelSize(*label, labelFont).width;
        maxHeight += lineHeight + ySpace;
      } else {
        stacked = true;
        width += entryFormSize;
        if (i < n - 1) width += stack;
      }
      maxWidth = std::max(maxWidth, width);
    }
    setNeededWidth(maxWidth);
    setNeededHeight(maxHeight);
  } else {
    const double lineLimit = viewPortHandler.contentWidth() * maxSizePercent();

    std::vector<Size> labelSizes = calculatedLabelSizes();
    if (static_cast<int64_t>(labelSizes.size()) != n) labelSizes.assign(static_cast<size_t>(n), Size{0, 0});
    std::vector<bool> breakPoints = calculatedLabelBreakPoints();
    if (static_cast<int64_t>(breakPoints.size()) != n) breakPoints.assign(static_cast<size_t>(n), false);
    std::vector<Size> lineSizes;

    double maxLineWidth = 0;
    double currentLineWidth = 0;
    double requiredWidth = 0;
    int64_t stackStart = -1;
    for (int64_t i = 0; i < n; ++i) {
      const LegendEntry& entry = *items[static_cast<size_t>(i)];
      const auto index = static_cast<size_t>(i);
      const bool drawingForm = entry.form() != Form::none;
      const auto& label = entry.label();
      breakPoints[index] = false;

      if (stackStart == -1) {
        requiredWidth = 0;
      } else {
        requiredWidth += stack;
      }

      if (label) {
        labelSizes[index] = labelSize(*label, labelFont);
        requiredWidth += (drawingForm ? formToText + defaultFormSize : 0) + labelSizes[index].width;
      } else {
        labelSizes[index] = Size{0, 0};
        requiredWidth += drawingForm ? defaultFormSize : 0;
        if (stackStart == -1) stackStart = i;
      }

      if (label || i == n - 1) {
        const double spacing = currentLineWidth == 0 ? 0 : xSpace;
        if (!wordWrap || currentLineWidth == 0 || lineLimit - currentLineWidth >= spacing + requiredWidth) {
          currentLineWidth += spacing + requiredWidth;
        } else {
          // A stack moves to the new line together with the label that ends it.
          lineSizes.push_back(Size{currentLineWidth, lineHeight});
          maxLineWidth = std::max(maxLineWidth, currentLineWidth);
          breakPoints[static_cast<size_t>(stackStart >= 0 ? stackStart : i)] = true;
          currentLineWidth = requiredWidth;
        }
        if (i == n - 1) {
          lineSizes.push_back(Size{currentLineWidth, lineHeight});
          maxLineWidth = std::max(maxLineWidth, currentLineWidth);
        }
      }

      if (label) stackStart = -1;
    }

    const auto lines = static_cast<double>(lineSizes.size());
    setCalculatedLabelSizes(std::move(labelSizes));
    setCalculatedLabelBreakPoints(std::move(breakPoints));
    setCalculatedLineSizes(std::move(lineSizes));
    setNeededWidth(maxLineWidth);
    setNeededHeight(lineHeight * lines + ySpace * (lines == 0 ? 0 : lines - 1));
  }

  setNeededWidth(neededWidth() + placingXOffset());
  setNeededHeight(neededHeight() + placingYOffset());
}

double Legend::placingXOffset() const { return std::isnan(xOffset()) ? 0 : xOffset(); }

double Legend::placingYOffset() const { return std::isnan(yOffset()) ? 0 : yOffset(); }

}  // namespace chart
