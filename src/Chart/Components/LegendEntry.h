#pragma once

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Chart/Utils/LegendForm.h"
#include "platform/graphics/Color.h"

namespace chart {

// One line item of a legend: a form and a label. An entry without a label
// belongs to a stack: its form sits beside the forms of the entries around
// it, and the next labelled entry carries the stack's label. A NaN size or
// width and absent dash lengths take the legend's own values; an absent (or
// clear) colour draws no form but keeps its room.
class LegendEntry {
 public:
  using Color = platform::graphics::Color;

  // No label, the legend's form, the legend's sizes, no colour.
  LegendEntry() = default;
  // Stores the seven values as given.
  LegendEntry(std::optional<std::string> label, LegendForm form, double formSize, double formLineWidth,
              double formLineDashPhase, std::optional<std::vector<double>> formLineDashLengths,
              std::optional<Color> formColor);
  virtual ~LegendEntry() = default;

  virtual const std::optional<std::string>& label() const { return label_; }
  virtual void setLabel(std::optional<std::string> label) { label_ = std::move(label); }
  virtual LegendForm form() const { return form_; }
  virtual void setForm(LegendForm form) { form_ = form; }
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
  virtual const std::optional<Color>& formColor() const { return formColor_; }
  virtual void setFormColor(std::optional<Color> color) { formColor_ = color; }

 private:
  std::optional<std::string> label_;
  LegendForm form_ = LegendForm::default_;
  double formSize_ = std::numeric_limits<double>::quiet_NaN();
  double formLineWidth_ = std::numeric_limits<double>::quiet_NaN();
  double formLineDashPhase_ = 0;
  std::optional<std::vector<double>> formLineDashLengths_;
  std::optional<Color> formColor_;
};

using LegendEntryPtr = std::shared_ptr<LegendEntry>;

}  // namespace chart
