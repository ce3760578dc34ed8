#pragma once

#include <limits>

#include "Chart/Data/IChartDataSet.h"

namespace chart {

// The root of every data set: the display settings all data sets share and
// the colour and formatter rules. The entry members have no body here; they
// stop the program ("calcMinMax is not implemented in ChartBaseDataSet"), so
// only subclasses that give them one (ChartDataSet) are usable data sets.
//
// Every member is virtual and the class calls its own members through the
// virtual, so an override changes everything built on it. A subclass whose
// override must be in force at construction repeats that step at the end of
// its own constructor, since a C++ constructor does not reach overrides.
class ChartBaseDataSet : public virtual IChartDataSet {
 public:
  // The colour of a new set's lines, bars or slices.
  static constexpr Color defaultColor = Color::rgb(140.0 / 255.0, 234.0 / 255.0, 1.0);

  // Label "DataSet".
  ChartBaseDataSet() : ChartBaseDataSet(std::optional<std::string>("DataSet")) {}
  explicit ChartBaseDataSet(std::optional<std::string> label) : label_(std::move(label)) {}

  ChartBaseDataSet(const ChartBaseDataSet&) = delete;
  ChartBaseDataSet& operator=(const ChartBaseDataSet&) = delete;

  // The name that descriptions show; every subclass overrides it.
  virtual std::string className() const { return "ChartBaseDataSet"; }

  // Recomputes the extremes: calcMinMax().
  void notifyDataSetChanged() override;
  void calcMinMax() override;
  void calcMinMaxY(double fromX, double toX) override;
  double yMin() const override;
  double yMax() const override;
  double xMin() const override;
  double xMax() const override;
  int64_t entryCount() const override;
  EntryPtr entryForIndex(int64_t index) const override;
  EntryPtr entryForXValue(double x, double closestToY, ChartDataSetRounding rounding) const override;
  EntryPtr entryForXValue(double x, double closestToY) const override;
  std::vector<EntryPtr> entriesForXValue(double x) const override;
  int64_t entryIndex(double x, double closestToY, ChartDataSetRounding rounding) const override;
  int64_t entryIndex(const EntryPtr& entry) const override;
  bool addEntry(const EntryPtr& entry) override;
  bool addEntryOrdered(const EntryPtr& entry) override;
  bool removeEntry(const EntryPtr& entry) override;
  // The entry at the index, removed by removeEntry (so by equality: the first
  // stored entry with its x and y goes).
  bool removeEntryWithIndex(int64_t index) override;
  // The entry closest to x (not only one exactly at x), removed by removeEntry.
  bool removeEntryWithX(double x) override;
  bool removeFirst() override;
  bool removeLast() override;
  bool contains(const EntryPtr& entry) const override;
  void clear() override;

  const std::optional<std::string>& label() const override { return label_; }
  virtual void setLabel(std::optional<std::string> label) { label_ = std::move(label); }
  AxisDependency axisDependency() const override { return axisDependency_; }
  virtual void setAxisDependency(AxisDependency axis) { axisDependency_ = axis; }

  const std::vector<Color>& colors() const override { return colors_; }
  virtual void setColors(std::vector<Color> colors) { colors_ = std::move(colors); }
  // Each colour at the given opacity.
  virtual void setColors(const std::vector<Color>& colors, double alpha);
  const std::vector<Color>& valueColors() const override { return valueColors_; }
  virtual void setValueColors(std::vector<Color> colors) { valueColors_ = std::move(colors); }
  // With no colours left this answers defaultColor instead of indexing an
  // empty list.
  Color color(int64_t index) const override;
  // Empties the list; no default colour is put back.
  void resetColors() override;
  void addColor(const Color& color) override;
  // Leaves exactly this one colour.
  void setColor(const Color& color) override;
  virtual void setColor(const Color& color, double alpha);

  bool highlightEnabled() const override { return highlightEnabled_; }
  void setHighlightEnabled(bool enabled) override { highlightEnabled_ = enabled; }
  bool isHighlightEnabled() const override { return highlightEnabled(); }

  // The set's own formatter, or the shared one-decimal default while it has
  // none. Assigning nullptr is ignored: once a set has its own formatter it
  // keeps one.
  std::shared_ptr<IValueFormatter> valueFormatter() const override;
  void setValueFormatter(std::shared_ptr<IValueFormatter> formatter) override;
  bool needsFormatter() const override { return valueFormatter_ == nullptr; }

  // The first value colour (the label colour when the list is empty);
  // assigning leaves exactly this one.
  Color valueTextColor() const override;
  void setValueTextColor(const Color& color) override;
  // The colour rule of color(index), over the value colours.
  Color valueTextColorAt(int64_t index) const override;
  const Font& valueFont() const override { return valueFont_; }
  void setValueFont(Font font) override { valueFont_ = std::move(font); }

  // Legend form settings; NaN sizes and absent dash lengths mean "the
  // legend's own value".
  LegendForm form() const override { return form_; }
  virtual void setForm(LegendForm form) { form_ = form; }
  double formSize() const override { return formSize_; }
  virtual void setFormSize(double size) { formSize_ = size; }
  double formLineWidth() const override { return formLineWidth_; }
  virtual void setFormLineWidth(double width) { formLineWidth_ = width; }
  double formLineDashPhase() const override { return formLineDashPhase_; }
  virtual void setFormLineDashPhase(double phase) { formLineDashPhase_ = phase; }
  const std::optional<std::vector<double>>& formLineDashLengths() const override { return formLineDashLengths_; }
  virtual void setFormLineDashLengths(std::optional<std::vector<double>> lengths) {
    formLineDashLengths_ = std::move(lengths);
  }

  bool drawValuesEnabled() const override { return drawValuesEnabled_; }
  void setDrawValuesEnabled(bool enabled) override { drawValuesEnabled_ = enabled; }
  bool isDrawValuesEnabled() const override { return drawValuesEnabled(); }
  bool drawIconsEnabled() const override { return drawIconsEnabled_; }
  void setDrawIconsEnabled(bool enabled) override { drawIconsEnabled_ = enabled; }
  bool isDrawIconsEnabled() const override { return drawIconsEnabled(); }
  Point iconsOffset() const override { return iconsOffset_; }
  void setIconsOffset(Point offset) override { iconsOffset_ = offset; }
  bool visible() const override { return visible_; }
  void setVisible(bool visible) override { visible_ = visible; }
  bool isVisible() const override { return visible(); }

  // "ChartDataSet, label: Ink, 256 entries"; the debug form adds a line per
  // entry. Both need a subclass that counts its entries.
  virtual std::string description() const;
  virtual std::string debugDescription() const;

  // A new set of the receiver's own class with its settings: colour lists
  // copied, the formatter shared (still none when the receiver has none).
  // Subclasses carry more through copyInto.
  //
  // An entry-list set's copy holds a new list of the same entry objects, so
  // the copy and the original share their entries: moving an entry through
  // either of them (setX or setY on the entry, BarChartData::groupBars on
  // the other set) moves it in both, and only the set it went through
  // recomputes its cached extremes. Call notifyDataSetChanged() on the other
  // one too.
  std::shared_ptr<ChartBaseDataSet> copy() const;

 protected:
  // The colour rule of the colour lists: a negative index counts as 0, then
  // the index is taken modulo the list's length; none for an empty list.
  static std::optional<Color> colorInTurn(const std::vector<Color>& list, int64_t index);

  // An empty set of the receiver's class; every subclass overrides it.
  virtual std::shared_ptr<ChartBaseDataSet> makeEmpty() const { return std::make_shared<ChartBaseDataSet>(); }
  // Assigns this set's copied fields to `target` (made by makeEmpty, so of
  // this set's class). Overrides call their base first.
  virtual void copyInto(ChartBaseDataSet& target) const;

 private:
  static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

  std::vector<Color> colors_{defaultColor};
  std::vector<Color> valueColors_{Color::labelColor()};
  std::optional<std::string> label_;
  AxisDependency axisDependency_ = AxisDependency::left;
  bool highlightEnabled_ = true;
  std::shared_ptr<IValueFormatter> valueFormatter_;
  Font valueFont_ = Font::systemFont(7);
  LegendForm form_ = LegendForm::default_;
  double formSize_ = nan;
  double formLineWidth_ = nan;
  double formLineDashPhase_ = 0;
  std::optional<std::vector<double>> formLineDashLengths_;
  bool drawValuesEnabled_ = true;
  bool drawIconsEnabled_ = true;
  Point iconsOffset_;
  bool visible_ = true;
};

}  // namespace chart
