#pragma once

#include <optional>

#include "Chart/Data/IChartDataSet.h"

namespace chart {

// Where a pie's entry labels or value texts are drawn: inside the slice, or
// outside at the end of a value line.
enum class PieChartValuePosition : int { insideSlice = 0, outsideSlice = 1 };

constexpr std::optional<PieChartValuePosition> pieChartValuePositionFromRaw(int raw) {
  if (raw == 0 || raw == 1) return static_cast<PieChartValuePosition>(raw);
  return std::nullopt;
}

// What the pie renderer and highlighter ask of a pie data set: the slices'
// spacing and selection shift, and how the value lines to texts outside the
// slices are laid out.
struct IPieChartDataSet : virtual IChartDataSet {
  using ValuePosition = PieChartValuePosition;

  // The space left between slices, in [0, 20].
  virtual double sliceSpace() const = 0;
  virtual void setSliceSpace(double space) = 0;
  // Whether the renderer may switch the spacing off by itself.
  virtual bool automaticallyDisableSliceSpacing() const = 0;
  virtual void setAutomaticallyDisableSliceSpacing(bool disable) = 0;
  // How far a highlighted slice moves out.
  virtual double selectionShift() const = 0;
  virtual void setSelectionShift(double shift) = 0;
  virtual ValuePosition xValuePosition() const = 0;
  virtual void setXValuePosition(ValuePosition position) = 0;
  virtual ValuePosition yValuePosition() const = 0;
  virtual void setYValuePosition(ValuePosition position) = 0;
  virtual std::optional<Color> valueLineColor() const = 0;
  virtual void setValueLineColor(std::optional<Color> color) = 0;
  // Whether the value line takes the value's colour instead.
  virtual bool useValueColorForLine() const = 0;
  virtual void setUseValueColorForLine(bool use) = 0;
  virtual double valueLineWidth() const = 0;
  virtual void setValueLineWidth(double width) = 0;
  // Fractions of the radius.
  virtual double valueLinePart1OffsetPercentage() const = 0;
  virtual void setValueLinePart1OffsetPercentage(double offset) = 0;
  virtual double valueLinePart1Length() const = 0;
  virtual void setValueLinePart1Length(double length) = 0;
  virtual double valueLinePart2Length() const = 0;
  virtual void setValueLinePart2Length(double length) = 0;
  virtual bool valueLineVariableLength() const = 0;
  virtual void setValueLineVariableLength(bool variable) = 0;
  virtual std::optional<Font> entryLabelFont() const = 0;
  virtual void setEntryLabelFont(std::optional<Font> font) = 0;
  virtual std::optional<Color> entryLabelColor() const = 0;
  virtual void setEntryLabelColor(std::optional<Color> color) = 0;
  // The colour of a highlighted slice.
  virtual std::optional<Color> highlightColor() const = 0;
  virtual void setHighlightColor(std::optional<Color> color) = 0;
};

}  // namespace chart
