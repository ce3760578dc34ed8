#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Chart/Components/ComponentBase.h"
#include "Chart/Utils/IAxisValueFormatter.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Font.h"

namespace chart {

class ChartLimitLine;

// The model of one chart axis, shared by the x axis and the y axes: its
// styling, its label rules (how many labels, granularity, forced count,
// centring), the label positions and decimals the axis renderer computes into
// it, its value formatter, its limit lines, and the value range the chart
// view computes into it from the data.
//
// Every member is virtual and internal calls go through the virtual, so a
// subclass that overrides a getter changes what is built on it.
class AxisBase : public ComponentBase {
 public:
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;
  using LineCap = platform::graphics::LineCap;

  AxisBase() = default;
  AxisBase(const AxisBase&) = delete;
  AxisBase& operator=(const AxisBase&) = delete;

  // Styling.
  virtual const Font& labelFont() const { return labelFont_; }
  virtual void setLabelFont(Font font) { labelFont_ = std::move(font); }
  virtual Color labelTextColor() const { return labelTextColor_; }
  virtual void setLabelTextColor(const Color& color) { labelTextColor_ = color; }
  virtual Color axisLineColor() const { return axisLineColor_; }
  virtual void setAxisLineColor(const Color& color) { axisLineColor_ = color; }
  virtual double axisLineWidth() const { return axisLineWidth_; }
  virtual void setAxisLineWidth(double width) { axisLineWidth_ = width; }
  virtual double axisLineDashPhase() const { return axisLineDashPhase_; }
  virtual void setAxisLineDashPhase(double phase) { axisLineDashPhase_ = phase; }
  // Absent draws a solid line.
  virtual const std::optional<std::vector<double>>& axisLineDashLengths() const { return axisLineDashLengths_; }
  virtual void setAxisLineDashLengths(std::optional<std::vector<double>> lengths) {
    axisLineDashLengths_ = std::move(lengths);
  }
  virtual Color gridColor() const { return gridColor_; }
  virtual void setGridColor(const Color& color) { gridColor_ = color; }
  virtual double gridLineWidth() const { return gridLineWidth_; }
  virtual void setGridLineWidth(double width) { gridLineWidth_ = width; }
  virtual double gridLineDashPhase() const { return gridLineDashPhase_; }
  virtual void setGridLineDashPhase(double phase) { gridLineDashPhase_ = phase; }
  virtual const std::optional<std::vector<double>>& gridLineDashLengths() const { return gridLineDashLengths_; }
  virtual void setGridLineDashLengths(std::optional<std::vector<double>> lengths) {
    gridLineDashLengths_ = std::move(lengths);
  }
  virtual LineCap gridLineCap() const { return gridLineCap_; }
  virtual void setGridLineCap(LineCap cap) { gridLineCap_ = cap; }

  // What is drawn.
  virtual bool drawGridLinesEnabled() const { return drawGridLinesEnabled_; }
  virtual void setDrawGridLinesEnabled(bool enabled) { drawGridLinesEnabled_ = enabled; }
  virtual bool drawAxisLineEnabled() const { return drawAxisLineEnabled_; }
  virtual void setDrawAxisLineEnabled(bool enabled) { drawAxisLineEnabled_ = enabled; }
  virtual bool drawLabelsEnabled() const { return drawLabelsEnabled_; }
  virtual void setDrawLabelsEnabled(bool enabled) { drawLabelsEnabled_ = enabled; }
  virtual bool drawLimitLinesBehindDataEnabled() const { return drawLimitLinesBehindDataEnabled_; }
  virtual void setDrawLimitLinesBehindDataEnabled(bool enabled) { drawLimitLinesBehindDataEnabled_ = enabled; }
  virtual bool drawGridLinesBehindDataEnabled() const { return drawGridLinesBehindDataEnabled_; }
  virtual void setDrawGridLinesBehindDataEnabled(bool enabled) { drawGridLinesBehindDataEnabled_ = enabled; }
  virtual bool gridAntialiasEnabled() const { return gridAntialiasEnabled_; }
  virtual void setGridAntialiasEnabled(bool enabled) { gridAntialiasEnabled_ = enabled; }
  virtual bool isDrawGridLinesEnabled() const { return drawGridLinesEnabled(); }
  virtual bool isDrawAxisLineEnabled() const { return drawAxisLineEnabled(); }
  virtual bool isDrawLabelsEnabled() const { return drawLabelsEnabled(); }
  virtual bool isDrawLimitLinesBehindDataEnabled() const { return drawLimitLinesBehindDataEnabled(); }
  virtual bool isDrawGridLinesBehindDataEnabled() const { return drawGridLinesBehindDataEnabled(); }

  // Centred labels: the flag reads true only once the renderer has computed
  // at least one entry.
  virtual bool centerAxisLabelsEnabled() const;
  virtual void setCenterAxisLabelsEnabled(bool enabled) { centerAxisLabelsEnabled_ = enabled; }
  virtual bool isCenterAxisLabelsEnabled() const { return centerAxisLabelsEnabled(); }

  // The label positions in axis values and the decimals their interval
  // needs, written by the axis renderer on every pass. The mutable forms let
  // the renderer refill the lists in their own storage.
  virtual const std::vector<double>& entries() const { return entries_; }
  virtual std::vector<double>& entries() { return entries_; }
  virtual void setEntries(std::vector<double> entries) { entries_ = std::move(entries); }
  virtual const std::vector<double>& centeredEntries() const { return centeredEntries_; }
  virtual std::vector<double>& centeredEntries() { return centeredEntries_; }
  virtual void setCenteredEntries(std::vector<double> entries) { centeredEntries_ = std::move(entries); }
  virtual int64_t entryCount() const { return static_cast<int64_t>(entries().size()); }
  virtual int decimals() const { return decimals_; }
  virtual void setDecimals(int decimals) { decimals_ = decimals; }

  // Label rules.
  //
  // Whatever the count, an axis computes (and so draws) at most
  // maxComputedLabels values: a larger count works as that many (forced
  // labels spread that many over the range), and when a round interval
  // gives more than that, the first that many are kept. A count and bound
  // may be set higher; they are stored as they are.
  static constexpr int64_t maxComputedLabels = 10000;
  virtual int64_t labelCount() const { return labelCount_; }
  // Stores the count brought into [axisMinLabels, axisMaxLabels] (above the
  // upper bound the upper bound, otherwise at least the lower bound, so the
  // upper bound wins should the bounds cross) and switches forcing off.
  virtual void setLabelCount(int64_t count);
  // The count through setLabelCount, then the force flag.
  virtual void setLabelCount(int64_t count, bool force);
  virtual int64_t axisMinLabels() const { return axisMinLabels_; }
  // A bound below 1 is ignored; neither setter brings the current count
  // within the new bounds. (Counts above maxComputedLabels compute that
  // many.)
  virtual void setAxisMinLabels(int64_t count);
  virtual int64_t axisMaxLabels() const { return axisMaxLabels_; }
  virtual void setAxisMaxLabels(int64_t count);
  virtual bool forceLabelsEnabled() const { return forceLabelsEnabled_; }
  virtual void setForceLabelsEnabled(bool enabled) { forceLabelsEnabled_ = enabled; }
  virtual bool isForceLabelsEnabled() const { return forceLabelsEnabled(); }
  virtual bool granularityEnabled() const { return granularityEnabled_; }
  virtual void setGranularityEnabled(bool enabled) { granularityEnabled_ = enabled; }
  virtual bool isGranularityEnabled() const { return granularityEnabled(); }
  virtual double granularity() const { return granularity_; }
  // Stores the value as it is and switches granularity on.
  virtual void setGranularity(double granularity);

  // The formatter labels are made with. Reading it makes a
  // DefaultAxisValueFormatter with the axis's decimals when there is none,
  // and brings a default formatter with automatic decimals to the axis's
  // current decimals; a formatter of the caller's own is never touched.
  virtual std::shared_ptr<IAxisValueFormatter> valueFormatter() const;
  // nullptr installs a new default formatter with the current decimals.
  virtual void setValueFormatter(std::shared_ptr<IAxisValueFormatter> formatter);
  // The formatter's text for the entry at the index; "" outside the entries.
  virtual std::string getFormattedLabel(int64_t index) const;
  // The label with the most characters (as a reader counts them); the first
  // of equally long ones; "" without entries.
  virtual std::string getLongestLabel() const;

  // Limit lines, in the order added.
  virtual void addLimitLine(std::shared_ptr<ChartLimitLine> line);
  // Removes the first occurrence of that very line; nothing when absent.
  virtual void removeLimitLine(const std::shared_ptr<ChartLimitLine>& line);
  virtual void removeAllLimitLines() { limitLines_.clear(); }
  virtual std::vector<std::shared_ptr<ChartLimitLine>> limitLines() const { return limitLines_; }

  // Range.
  virtual double spaceMin() const { return spaceMin_; }
  virtual void setSpaceMin(double space) { spaceMin_ = space; }
  virtual double spaceMax() const { return spaceMax_; }
  virtual void setSpaceMax(double space) { spaceMax_ = space; }
  virtual double axisMinimum() const { return axisMinimum_; }
  // Marks the minimum custom (it survives calculate) and updates the range.
  virtual void setAxisMinimum(double value);
  virtual double axisMaximum() const { return axisMaximum_; }
  virtual void setAxisMaximum(double value);
  virtual double axisRange() const { return axisRange_; }
  virtual void setAxisRange(double range) { axisRange_ = range; }
  // Clear the custom mark only; the value stays until the next calculate.
  virtual void resetCustomAxisMin() { customAxisMin_ = false; }
  virtual void resetCustomAxisMax() { customAxisMax_ = false; }
  virtual bool isAxisMinCustom() const { return customAxisMin_; }
  virtual bool isAxisMaxCustom() const { return customAxisMax_; }
  // The range from the data's extremes: each end the custom value or the
  // data's widened by spaceMin / spaceMax; an empty range becomes value ± 1.
  virtual void calculate(double dataMin, double dataMax);

  // Store an end without marking it custom and without touching the range:
  // for the subclasses' own range rules and for the radar y axis renderer,
  // whose web ends where its label values end.
  void storeAxisMinimum(double value) { axisMinimum_ = value; }
  void storeAxisMaximum(double value) { axisMaximum_ = value; }

 private:
  mutable std::shared_ptr<IAxisValueFormatter> axisValueFormatter_;
  Font labelFont_ = Font::systemFont(10);
  Color labelTextColor_ = Color::labelColor();
  Color axisLineColor_ = Color::gray();
  double axisLineWidth_ = 0.5;
  double axisLineDashPhase_ = 0;
  std::optional<std::vector<double>> axisLineDashLengths_;
  Color gridColor_ = Color::gray().withAlpha(0.9);
  double gridLineWidth_ = 0.5;
  double gridLineDashPhase_ = 0;
  std::optional<std::vector<double>> gridLineDashLengths_;
  LineCap gridLineCap_ = LineCap::butt;
  bool drawGridLinesEnabled_ = true;
  bool drawAxisLineEnabled_ = true;
  bool drawLabelsEnabled_ = true;
  bool centerAxisLabelsEnabled_ = false;
  std::vector<std::shared_ptr<ChartLimitLine>> limitLines_;
  bool drawLimitLinesBehindDataEnabled_ = false;
  bool drawGridLinesBehindDataEnabled_ = true;
  bool gridAntialiasEnabled_ = true;
  std::vector<double> entries_;
  std::vector<double> centeredEntries_;
  int64_t labelCount_ = 6;
  int decimals_ = 0;
  bool granularityEnabled_ = false;
  double granularity_ = 1.0;
  bool forceLabelsEnabled_ = false;
  double spaceMin_ = 0;
  double spaceMax_ = 0;
  bool customAxisMin_ = false;
  bool customAxisMax_ = false;
  double axisMinimum_ = 0;
  double axisMaximum_ = 0;
  double axisRange_ = 0;
  int64_t axisMinLabels_ = 2;
  int64_t axisMaxLabels_ = 25;
};

}  // namespace chart
