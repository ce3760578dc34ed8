#include "Chart/Renderers/LegendRenderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "Chart/Data/ChartData.h"
#include "Chart/Data/IBarChartDataSet.h"
#include "Chart/Data/ICandleChartDataSet.h"
#include "Chart/Data/IPieChartDataSet.h"
#include "Chart/Data/PieChartDataEntry.h"
#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::Point;
using platform::graphics::Rect;
using platform::graphics::Size;
using platform::graphics::TextAlignment;
using platform::graphics::TextAttributes;
using platform::graphics::currentTextMetrics;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double formSizeOf(const LegendEntry& entry, double legendFormSize) {
  return std::isnan(entry.formSize()) ? legendFormSize : entry.formSize();
}

// The entries one data set contributes.
class EntryBuilder {
 public:
  EntryBuilder(const IChartDataSet& set, std::vector<LegendEntryPtr>& out) : set_(set), out_(out) {}

  // An entry with the set's form values.
  void add(std::optional<std::string> label, std::optional<platform::graphics::Color> color) {
    out_.push_back(std::make_shared<LegendEntry>(std::move(label), set_.form(), set_.formSize(), set_.formLineWidth(),
                                                 set_.formLineDashPhase(), set_.formLineDashLengths(), color));
  }
  // The set's label on its own, without a form, after the forms of a stack
  // or a pie.
  void addClosingLabel() {
    if (const auto& label = set_.label()) {
      out_.push_back(
          std::make_shared<LegendEntry>(*label, LegendForm::none, kNaN, kNaN, 0, std::nullopt, std::nullopt));
    }
  }

 private:
  const IChartDataSet& set_;
  std::vector<LegendEntryPtr>& out_;
};

}  // namespace

LegendRenderer::LegendRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<Legend> legend)
    : Renderer(std::move(viewPortHandler)), legend_(std::move(legend)) {}

void LegendRenderer::computeLegend(const ChartData& data) {
  const std::shared_ptr<Legend> legend = this->legend();
  if (!legend) return;

  if (!legend->isLegendCustom()) {
    std::vector<LegendEntryPtr> entries;
    for (int64_t i = 0; i < data.dataSetCount(); ++i) {
      const DataSetPtr set = data.getDataSetByIndex(i);
      if (!set) continue;
      const std::vector<platform::graphics::Color>& colors = set->colors();
      const auto colorCount = static_cast<int64_t>(colors.size());
      const int64_t entryCount = set->entryCount();
      EntryBuilder builder(*set, entries);

      const auto bar = std::dynamic_pointer_cast<IBarChartDataSet>(set);
      const auto pie = std::dynamic_pointer_cast<IPieChartDataSet>(set);
      const auto candle = std::dynamic_pointer_cast<ICandleChartDataSet>(set);
      if (bar && bar->isStacked()) {
        const std::vector<std::string>& stackLabels = bar->stackLabels();
        const int64_t forms = std::min(colorCount, bar->stackSize());
        for (int64_t j = 0; j < forms; ++j) {
          std::optional<std::string> label;
          if (j < static_cast<int64_t>(stackLabels.size())) label = stackLabels[static_cast<size_t>(j)];
          builder.add(std::move(label), colors[static_cast<size_t>(j)]);
        }
        builder.addClosingLabel();
      } else if (pie) {
        const int64_t forms = std::min(colorCount, entryCount);
        for (int64_t j = 0; j < forms; ++j) {
          std::optional<std::string> label;
          if (const auto slice = std::dynamic_pointer_cast<PieChartDataEntry>(pie->entryForIndex(j))) {
            label = slice->label();
          }
          builder.add(std::move(label), colors[static_cast<size_t>(j)]);
        }
        builder.addClosingLabel();
      } else if (candle && candle->decreasingColor()) {
        builder.add(std::nullopt, candle->decreasingColor());
        builder.add(set->label(), candle->increasingColor());
      } else {
        // One form per colour; only the last carries the label, the others
        // stack in front of it.
        const int64_t forms = std::min(colorCount, entryCount);
        for (int64_t j = 0; j < forms; ++j) {
          const bool last = j >= colorCount - 1 || j >= entryCount - 1;
          builder.add(last ? set->label() : std::nullopt, colors[static_cast<size_t>(j)]);
        }
      }
    }
    const std::vector<LegendEntryPtr>& extras = legend->extraEntries();
    entries.insert(entries.end(), extras.begin(), extras.end());
    legend->setEntries(std::move(entries));
  }

  legend->calculateDimensions(legend->font(), *viewPortHandler());
}

void LegendRenderer::renderLegend(DrawingContext& context) {
  const std::shared_ptr<Legend> legendHeld = legend();
  if (!legendHeld || !legendHeld->enabled()) return;
  Legend& legend = *legendHeld;
  const ViewPortHandler& viewPort = *viewPortHandler();

  const Font labelFont = legend.font();
  const Color labelTextColor = legend.textColor();
  const double lineHeight = currentTextMetrics().fontLineHeight(labelFont);
  // A copy: a replaced drawForm or drawLabel may change the legend's list.
  const std::vector<LegendEntryPtr> entries = legend.entries();
  const double defaultFormSize = legend.formSize();
  const double formToTextSpace = legend.formToTextSpace();
  const double xEntrySpace = legend.xEntrySpace();
  const double yEntrySpace = legend.yEntrySpace();
  const Legend::Orientation orientation = legend.orientation();
  const Legend::HorizontalAlignment horizontalAlignment = legend.horizontalAlignment();
  const Legend::VerticalAlignment verticalAlignment = legend.verticalAlignment();
  const Legend::Direction direction = legend.direction();
  const double stackSpace = legend.stackSpace();
  const double yOffset = legend.placingYOffset();
  const double xOffset = legend.placingXOffset();
  const double neededWidth = legend.neededWidth();
  const double neededHeight = legend.neededHeight();
  const double formYOffset = lineHeight / 2;

  const bool vertical = orientation == Legend::Orientation::vertical;
  const bool leftToRight = direction == Legend::Direction::leftToRight;
  const TextAttributes labelAttributes{labelFont, std::nullopt, std::nullopt};

  double originX = 0;
  switch (horizontalAlignment) {
    case Legend::HorizontalAlignment::left:
      originX = (vertical ? 0 : viewPort.contentLeft()) + xOffset;
      if (!leftToRight) originX += neededWidth;
      break;
    case Legend::HorizontalAlignment::right:
      originX = (vertical ? viewPort.chartWidth() : viewPort.contentRight()) - xOffset;
      if (leftToRight) originX -= neededWidth;
      break;
    case Legend::HorizontalAlignment::center:
      originX = (vertical ? viewPort.chartWidth() / 2 : viewPort.contentLeft() + viewPort.contentWidth() / 2) +
                (leftToRight ? xOffset : -xOffset);
      if (vertical) originX += leftToRight ? -neededWidth / 2 + xOffset : neededWidth / 2 - xOffset;
      break;
  }

  if (!vertical) {
    const std::vector<Size> lineSizes = legend.calculatedLineSizes();
    const std::vector<Size> labelSizes = legend.calculatedLabelSizes();
    const std::vector<bool> breakPoints = legend.calculatedLabelBreakPoints();

    double posX = originX;
    double posY = 0;
    switch (verticalAlignment) {
      case Legend::VerticalAlignment::top: posY = yOffset; break;
      case Legend::VerticalAlignment::bottom: posY = viewPort.chartHeight() - yOffset - neededHeight; break;
      case Legend::VerticalAlignment::center: posY = (viewPort.chartHeight() - neededHeight) / 2 + yOffset; break;
    }
    size_t lineIndex = 0;

    for (size_t i = 0; i < entries.size(); ++i) {
      const LegendEntry& entry = *entries[i];
      const bool drawsForm = entry.form() != LegendForm::none;
      const double formSize = formSizeOf(entry, defaultFormSize);

      if (i < breakPoints.size() && breakPoints[i]) {
        posX = originX;
        posY += lineHeight + yEntrySpace;
      }
      // Each line is centred on the origin.
      if (posX == originX && horizontalAlignment == Legend::HorizontalAlignment::center &&
          lineIndex < lineSizes.size()) {
        posX += (leftToRight ? -lineSizes[lineIndex].width : lineSizes[lineIndex].width) / 2;
        ++lineIndex;
      }

      if (drawsForm) {
        if (!leftToRight) posX -= formSize;
        drawForm(context, posX, posY + formYOffset, entry, legend);
        if (leftToRight) posX += formSize;
      }

      if (const auto& label = entry.label()) {
        if (drawsForm) posX += leftToRight ? formToTextSpace : -formToTextSpace;
        // The layout may not have seen this entry: then it is measured now.
        const double width =
            i < labelSizes.size() ? labelSizes[i].width : currentTextMetrics().size(*label, labelAttributes).width;
        if (!leftToRight) posX -= width;
        drawLabel(context, posX, posY, *label, labelFont, labelTextColor);
        if (leftToRight) posX += width;
        posX += leftToRight ? xEntrySpace : -xEntrySpace;
      } else {
        posX += leftToRight ? stackSpace : -stackSpace;
      }
    }
    return;
  }

  double posY = 0;
  const bool centred = horizontalAlignment == Legend::HorizontalAlignment::center;
  switch (verticalAlignment) {
    case Legend::VerticalAlignment::top: posY = (centred ? 0 : viewPort.contentTop()) + yOffset; break;
    case Legend::VerticalAlignment::bottom:
      posY = (centred ? viewPort.chartHeight() : viewPort.contentBottom()) - (neededHeight + yOffset);
      break;
    case Legend::VerticalAlignment::center: posY = viewPort.chartHeight() / 2 - neededHeight / 2 + yOffset; break;
  }

  double stack = 0;
  bool stacked = false;
  for (const LegendEntryPtr& entryHeld : entries) {
    const LegendEntry& entry = *entryHeld;
    const bool drawsForm = entry.form() != LegendForm::none;
    const double formSize = formSizeOf(entry, defaultFormSize);
    double posX = originX;

    if (drawsForm) {
      // Right to left mirrors left to right: a stack grows leftward from the
      // origin, so every form stays on the legend's side of it.
      if (leftToRight) {
        posX += stack;
      } else {
        posX -= formSize + stack;
      }
      drawForm(context, posX, posY + formYOffset, entry, legend);
      if (leftToRight) posX += formSize;
    }

    if (const auto& label = entry.label()) {
      if (drawsForm && !stacked) {
        posX += leftToRight ? formToTextSpace : -formToTextSpace;
      } else if (stacked) {
        posX = originX;
      }
      if (!leftToRight) posX -= currentTextMetrics().size(*label, labelAttributes).width;
      // The label that ends a stack goes on the line below the stack's forms.
      if (stacked) posY += lineHeight + yEntrySpace;
      drawLabel(context, posX, posY, *label, labelFont, labelTextColor);
      posY += lineHeight + yEntrySpace;
      stack = 0;
      stacked = false;
    } else {
      stack += formSize + stackSpace;
      stacked = true;
    }
  }
}

void LegendRenderer::drawForm(DrawingContext& context, double x, double y, const LegendEntry& entry,
                              const Legend& legend) {
  const std::optional<Color>& color = entry.formColor();
  if (!color || *color == Color::clear()) return;

  const LegendForm form = entry.form() == LegendForm::default_ ? legend.form() : entry.form();
  const double size = formSizeOf(entry, legend.formSize());
  const Rect box(x, y - size / 2, size, size);

  const platform::graphics::SavedGraphicsState saved(context);
  switch (form) {
    case LegendForm::none:
    case LegendForm::empty:
      break;
    case LegendForm::default_:
    case LegendForm::circle:
      context.setFillColor(*color);
      context.fillEllipseInRect(box);
      break;
    case LegendForm::square:
      context.setFillColor(*color);
      context.fillRect(box);
      break;
    case LegendForm::line: {
      const double lineWidth = std::isnan(entry.formLineWidth()) ? legend.formLineWidth() : entry.formLineWidth();
      const double dashPhase =
          std::isnan(entry.formLineDashPhase()) ? legend.formLineDashPhase() : entry.formLineDashPhase();
      const std::optional<std::vector<double>>& dashLengths =
          entry.formLineDashLengths() ? entry.formLineDashLengths() : legend.formLineDashLengths();
      context.setLineWidth(lineWidth);
      if (!dashLengths || dashLengths->empty()) {
        context.setLineDash(0, {});
      } else {
        context.setLineDash(dashPhase, *dashLengths);
      }
      context.setStrokeColor(*color);
      formLineSegmentsBuffer_[0] = Point{x, y};
      formLineSegmentsBuffer_[1] = Point{x + size, y};
      context.strokeLineSegments(formLineSegmentsBuffer_);
      break;
    }
  }
}

void LegendRenderer::drawLabel(DrawingContext& context, double x, double y, std::string_view label, const Font& font,
                               const Color& textColor) {
  ChartUtils::drawText(context, label, Point{x, y}, TextAlignment::left,
                       TextAttributes{font, textColor, std::nullopt});
}

}  // namespace chart
