#pragma once

#include <optional>
#include <vector>

#include "Chart/Components/ComponentBase.h"
#include "Chart/Components/LegendEntry.h"
#include "Chart/Utils/LegendForm.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"

namespace chart {

class ViewPortHandler;

// The legend of a chart: its entries, how they are placed and spaced, and the
// layout computed for them. The legend renderer fills the entries from the
// chart's data (unless they were set as custom entries), has the legend lay
// itself out, and draws it where the alignment options say. The chart views
// read the needed size to make room for it.
//
// Labels are measured with the current text metrics, with the font as the
// only attribute; the line height is the font's bounding-box height.
//
// Every member is virtual and the legend calls its own members through the
// virtual. Setters are plain stores.
class Legend : public ComponentBase {
 public:
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;
  using Size = platform::graphics::Size;

  using Form = LegendForm;
  enum class HorizontalAlignment : int { left = 0, center = 1, right = 2 };
  enum class VerticalAlignment : int { top = 0, center = 1, bottom = 2 };
  // Entries side by side in lines, or one under another.
  enum class Orientation : int { horizontal = 0, vertical = 1 };
  // The order of form and label within an entry and of entries in a line.
  enum class Direction : int { leftToRight = 0, rightToLeft = 1 };

  static std::optional<Form> formFromRaw(int raw) { return legendFormFromRaw(raw); }
  static std::optional<HorizontalAlignment> horizontalAlignmentFromRaw(int raw);
  static std::optional<VerticalAlignment> verticalAlignmentFromRaw(int raw);
  static std::optional<Orientation> orientationFromRaw(int raw);
  static std::optional<Direction> directionFromRaw(int raw);

  // No entries; offsets 5 across and 3 down.
  Legend();
  // These entries; the offsets stay at the component's 5 and 5. A list that
  // holds a null entry (here and in every entry-list setter) throws
  // std::invalid_argument.
  explicit Legend(std::vector<LegendEntryPtr> entries);

  virtual const std::vector<LegendEntryPtr>& entries() const { return entries_; }
  virtual void setEntries(std::vector<LegendEntryPtr> entries);
  // Appended after the computed entries on every computation.
  virtual const std::vector<LegendEntryPtr>& extraEntries() const { return extraEntries_; }
  virtual void setExtraEntries(std::vector<LegendEntryPtr> entries);

  virtual HorizontalAlignment horizontalAlignment() const { return horizontalAlignment_; }
  virtual void setHorizontalAlignment(HorizontalAlignment alignment) { horizontalAlignment_ = alignment; }
  virtual VerticalAlignment verticalAlignment() const { return verticalAlignment_; }
  virtual void setVerticalAlignment(VerticalAlignment alignment) { verticalAlignment_ = alignment; }
  virtual Orientation orientation() const { return orientation_; }
  virtual void setOrientation(Orientation orientation) { orientation_ = orientation; }
  // When true the chart views make no room for the legend, which then lies
  // over the content.
  virtual bool drawInside() const { return drawInside_; }
  virtual void setDrawInside(bool inside) { drawInside_ = inside; }
  virtual bool isDrawInsideEnabled() const { return drawInside(); }
  virtual Direction direction() const { return direction_; }
  virtual void setDirection(Direction direction) { direction_ = direction; }

  virtual const Font& font() const { return font_; }
  virtual void setFont(Font font) { font_ = std::move(font); }
  virtual Color textColor() const { return textColor_; }
  virtual void setTextColor(const Color& color) { textColor_ = color; }

  // The form, sizes and dashes of entries that leave them to the legend.
  virtual Form form() const { return form_; }
  virtual void setForm(Form form) { form_ = form; }
  virtual double formSize() const { return formSize_; }
  virtual void setFormSize(double size) { formSize_ = size; }
  virtual double formLineWidth() const { return formLineWidth_; }
  virtual void setFormLineWidth(double width) { formLineWidth_ = width; }
  virtual double formLineDashPhase() const { return formLineDashPhase_; }
  virtual void setFormLineDashPhase(double phase) { formLineDashPhase_ = phase; }
  virtual const std::optional<std::vector<double>>& formLineDashLengths() const { return formLineDashLengths_; }
  virtual void setFormLineDashLengths(std::optional<std::vector<double>> lengths) {
    formLineDashLengths_ = std::move(lengths);
  }

  // Between the entries of a line, between lines, between a form and its
  // label, between the forms of a stack.
  virtual double xEntrySpace() const { return xEntrySpace_; }
  virtual void setXEntrySpace(double space) { xEntrySpace_ = space; }
  virtual double yEntrySpace() const { return yEntrySpace_; }
  virtual void setYEntrySpace(double space) { yEntrySpace_ = space; }
  virtual double formToTextSpace() const { return formToTextSpace_; }
  virtual void setFormToTextSpace(double space) { formToTextSpace_ = space; }
  virtual double stackSpace() const { return stackSpace_; }
  virtual void setStackSpace(double space) { stackSpace_ = space; }

  // The horizontal layout: one label size and one break point (true where a
  // line starts) per entry, one size per line. Valid for the entries the
  // last calculateDimensions saw; the vertical layout leaves them alone.
  virtual const std::vector<Size>& calculatedLabelSizes() const { return calculatedLabelSizes_; }
  virtual void setCalculatedLabelSizes(std::vector<Size> sizes) { calculatedLabelSizes_ = std::move(sizes); }
  virtual const std::vector<bool>& calculatedLabelBreakPoints() const { return calculatedLabelBreakPoints_; }
  virtual void setCalculatedLabelBreakPoints(std::vector<bool> breaks) {
    calculatedLabelBreakPoints_ = std::move(breaks);
  }
  virtual const std::vector<Size>& calculatedLineSizes() const { return calculatedLineSizes_; }
  virtual void setCalculatedLineSizes(std::vector<Size> sizes) { calculatedLineSizes_ = std::move(sizes); }

  // The widest form plus the widest label plus formToTextSpace (which counts
  // even with no entries), by the tallest label. Every entry counts its form
  // size, whatever its form; only labelled entries count a label.
  virtual Size getMaximumEntrySize(const Font& font) const;

  // The offsets the layout and the renderer place the legend by: xOffset
  // and yOffset, each 0 where it is not a number, so that such a legend is
  // still drawn (the chart views give it no room on that side).
  virtual double placingXOffset() const;
  virtual double placingYOffset() const;

  // The room the legend needs, its placing offsets included, and the
  // maximum entry size, as the last layout left them.
  virtual double neededWidth() const { return neededWidth_; }
  virtual void setNeededWidth(double width) { neededWidth_ = width; }
  virtual double neededHeight() const { return neededHeight_; }
  virtual void setNeededHeight(double height) { neededHeight_ = height; }
  virtual double textWidthMax() const { return textWidthMax_; }
  virtual void setTextWidthMax(double width) { textWidthMax_ = width; }
  virtual double textHeightMax() const { return textHeightMax_; }
  virtual void setTextHeightMax(double height) { textHeightMax_ = height; }

  // Whether a horizontal legend breaks into lines, each at most
  // maxSizePercent of the content width.
  virtual bool wordWrapEnabled() const { return wordWrapEnabled_; }
  virtual void setWordWrapEnabled(bool enabled) { wordWrapEnabled_ = enabled; }
  virtual bool isWordWrapEnabled() const { return wordWrapEnabled(); }
  virtual double maxSizePercent() const { return maxSizePercent_; }
  virtual void setMaxSizePercent(double percent) { maxSizePercent_ = percent; }

  // Lays the entries out with the font: the maximum entry size, the needed
  // size and, for a horizontal legend, the label sizes, break points and
  // line sizes.
  //
  // Vertically each labelled entry takes a line (form, formToTextSpace,
  // label, each space counted after the last line too); a stack's forms take
  // a line of their own and its label the next one, and a stacked entry
  // counts its form size twice when it draws a form.
  //
  // Horizontally every form counts the legend's formSize (never the entry's
  // own), a stack and the label that ends it stay on one line, and a group
  // that does not fit the rest of the line starts a new one, the break
  // landing on the stack's first entry. A group always fits an empty line.
  virtual void calculateDimensions(const Font& labelFont, const ViewPortHandler& viewPortHandler);

  // Sets the entries and keeps them: the renderer builds no entries from the
  // data until resetCustom().
  virtual void setCustom(std::vector<LegendEntryPtr> entries);
  virtual void resetCustom() { isLegendCustom_ = false; }
  virtual bool isLegendCustom() const { return isLegendCustom_; }

 private:
  std::vector<LegendEntryPtr> entries_;
  std::vector<LegendEntryPtr> extraEntries_;
  bool isLegendCustom_ = false;
  HorizontalAlignment horizontalAlignment_ = HorizontalAlignment::left;
  VerticalAlignment verticalAlignment_ = VerticalAlignment::bottom;
  Orientation orientation_ = Orientation::horizontal;
  bool drawInside_ = false;
  Direction direction_ = Direction::leftToRight;
  Font font_ = Font::systemFont(10);
  Color textColor_ = Color::labelColor();
  Form form_ = Form::square;
  double formSize_ = 8;
  double formLineWidth_ = 3;
  double formLineDashPhase_ = 0;
  std::optional<std::vector<double>> formLineDashLengths_;
  double xEntrySpace_ = 6;
  double yEntrySpace_ = 0;
  double formToTextSpace_ = 5;
  double stackSpace_ = 3;
  std::vector<Size> calculatedLabelSizes_;
  std::vector<bool> calculatedLabelBreakPoints_;
  std::vector<Size> calculatedLineSizes_;
  double neededWidth_ = 0;
  double neededHeight_ = 0;
  double textWidthMax_ = 0;
  double textHeightMax_ = 0;
  bool wordWrapEnabled_ = true;
  double maxSizePercent_ = 0.95;
};

}  // namespace chart
