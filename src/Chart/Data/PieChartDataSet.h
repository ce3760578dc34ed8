#pragma once

#include "Chart/Data/ChartDataSet.h"
#include "Chart/Data/IPieChartDataSet.h"
#include "Chart/Data/PieChartDataEntry.h"

namespace chart {

// The slices of a pie. Only y counts for its extremes: its x extremes stay
// unset. Its value texts are white, in the 13-point system font.
class PieChartDataSet : public ChartDataSet, public virtual IPieChartDataSet {
 public:
  using ValuePosition = PieChartValuePosition;

  // No entries, label "DataSet".
  PieChartDataSet();
  explicit PieChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "PieChartDataSet"; }

  // y only.
  void calcMinMaxForEntry(const ChartDataEntry& entry) override;

  double sliceSpace() const override { return sliceSpace_; }
  // Above 20 stores 20, below 0 (and -0) stores +0; NaN is kept.
  void setSliceSpace(double space) override;
  bool automaticallyDisableSliceSpacing() const override { return automaticallyDisableSliceSpacing_; }
  void setAutomaticallyDisableSliceSpacing(bool disable) override { automaticallyDisableSliceSpacing_ = disable; }
  double selectionShift() const override { return selectionShift_; }
  void setSelectionShift(double shift) override { selectionShift_ = shift; }
  ValuePosition xValuePosition() const override { return xValuePosition_; }
  void setXValuePosition(ValuePosition position) override { xValuePosition_ = position; }
  ValuePosition yValuePosition() const override { return yValuePosition_; }
  void setYValuePosition(ValuePosition position) override { yValuePosition_ = position; }
  std::optional<Color> valueLineColor() const override { return valueLineColor_; }
  void setValueLineColor(std::optional<Color> color) override { valueLineColor_ = color; }
  bool useValueColorForLine() const override { return useValueColorForLine_; }
  void setUseValueColorForLine(bool use) override { useValueColorForLine_ = use; }
  double valueLineWidth() const override { return valueLineWidth_; }
  void setValueLineWidth(double width) override { valueLineWidth_ = width; }
  double valueLinePart1OffsetPercentage() const override { return valueLinePart1OffsetPercentage_; }
  void setValueLinePart1OffsetPercentage(double offset) override { valueLinePart1OffsetPercentage_ = offset; }
  double valueLinePart1Length() const override { return valueLinePart1Length_; }
  void setValueLinePart1Length(double length) override { valueLinePart1Length_ = length; }
  double valueLinePart2Length() const override { return valueLinePart2Length_; }
  void setValueLinePart2Length(double length) override { valueLinePart2Length_ = length; }
  bool valueLineVariableLength() const override { return valueLineVariableLength_; }
  void setValueLineVariableLength(bool variable) override { valueLineVariableLength_ = variable; }
  std::optional<Font> entryLabelFont() const override { return entryLabelFont_; }
  void setEntryLabelFont(std::optional<Font> font) override { entryLabelFont_ = std::move(font); }
  std::optional<Color> entryLabelColor() const override { return entryLabelColor_; }
  void setEntryLabelColor(std::optional<Color> color) override { entryLabelColor_ = color; }
  std::optional<Color> highlightColor() const override { return highlightColor_; }
  void setHighlightColor(std::optional<Color> color) override { highlightColor_ = color; }

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<PieChartDataSet>(); }
  // Adds every slice and value-line setting.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  // The extremes again under this class's rule (the base constructor could
  // only apply its own), then the white 13-point value text.
  void finishConstruction();

  double sliceSpace_ = 0;
  bool automaticallyDisableSliceSpacing_ = false;
  double selectionShift_ = 18;
  ValuePosition xValuePosition_ = ValuePosition::insideSlice;
  ValuePosition yValuePosition_ = ValuePosition::insideSlice;
  std::optional<Color> valueLineColor_ = Color::black();
  bool useValueColorForLine_ = false;
  double valueLineWidth_ = 1.0;
  double valueLinePart1OffsetPercentage_ = 0.75;
  double valueLinePart1Length_ = 0.3;
  double valueLinePart2Length_ = 0.4;
  bool valueLineVariableLength_ = true;
  std::optional<Font> entryLabelFont_;
  std::optional<Color> entryLabelColor_;
  std::optional<Color> highlightColor_;
};

}  // namespace chart
