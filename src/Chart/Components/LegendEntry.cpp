#include "Chart/Components/LegendEntry.h"

namespace chart {

LegendEntry::LegendEntry(std::optional<std::string> label, LegendForm form, double formSize, double formLineWidth,
                         double formLineDashPhase, std::optional<std::vector<double>> formLineDashLengths,
                         std::optional<Color> formColor)
    : label_(std::move(label)),
      form_(form),
      formSize_(formSize),
      formLineWidth_(formLineWidth),
      formLineDashPhase_(formLineDashPhase),
      formLineDashLengths_(std::move(formLineDashLengths)),
      formColor_(formColor) {}

}  // namespace chart
