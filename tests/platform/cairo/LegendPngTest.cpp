#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "Chart/Components/Legend.h"
#include "Chart/Data/ChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/LegendRenderer.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"
#include "platform/graphics/TextMetrics.h"
#include "support/CairoBackendFixture.h"
#include "support/FakeHost.h"
#include "support/PixelSupport.h"

using namespace chart;
using namespace platform::graphics;
using platform::cairo::CairoContext;
using pixels::pixelAt;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const Color kRed = Color::rgb(0.8, 0.2, 0.2);
const Color kGreen = Color::rgb(0.2, 0.6, 0.2);
const Color kBlue = Color::rgb(0.2, 0.2, 0.8);

std::shared_ptr<LineChartDataSet> lineSet(const char* label, std::vector<Color> colors, LegendForm form) {
  std::vector<EntryPtr> entries;
  for (size_t i = 0; i < colors.size(); ++i) entries.push_back(std::make_shared<ChartDataEntry>(double(i), 1.0));
  auto set = std::make_shared<LineChartDataSet>(entries, label);
  set->setColors(std::move(colors));
  set->setForm(form);
  return set;
}

class LegendInPixels : public CairoBackend {};

}  // namespace

// Two legends in real pixels for a person to look at: along the bottom, a
// horizontal one built from four line sets (a square, a circle, a dashed line
// and a stack of three colours sharing one label); at the top right, a
// vertical right-to-left one of custom entries, one of them clear.
TEST_F(LegendInPixels, RendersHorizontalAndVerticalLegendsToPNG) {
  auto viewPort = std::make_shared<ViewPortHandler>(420, 150);
  viewPort->restrainViewPort(10, 10, 10, 40);
  auto ctx = CairoContext::create(420, 150);
  ASSERT_TRUE(ctx);
  ctx->setFillColor(Color::white());
  ctx->fillRect(Rect(0, 0, 420, 150));
  ctx->setStrokeColor(Color::gray());
  ctx->strokeRect(viewPort->contentRect());

  auto target = lineSet("Target", {kBlue}, LegendForm::line);
  target->setFormLineDashLengths(std::vector<double>{4, 2});
  target->setFormSize(16);
  ChartData data(std::vector<DataSetPtr>{lineSet("Measured", {kRed}, LegendForm::square),
                                         lineSet("Smoothed", {kGreen}, LegendForm::circle), target,
                                         lineSet("Inks", {kRed, kGreen, kBlue}, LegendForm::default_)});
  auto bottom = std::make_shared<Legend>();
  LegendRenderer bottomRenderer(viewPort, bottom);
  bottomRenderer.computeLegend(data);
  bottomRenderer.renderLegend(*ctx);

  auto side = std::make_shared<Legend>();
  side->setOrientation(Legend::Orientation::vertical);
  side->setHorizontalAlignment(Legend::HorizontalAlignment::right);
  side->setVerticalAlignment(Legend::VerticalAlignment::top);
  side->setDirection(Legend::Direction::rightToLeft);
  side->setXOffset(15);
  side->setCustom({std::make_shared<LegendEntry>("Dmax", LegendForm::square, kNaN, kNaN, 0, std::nullopt, kBlue),
                   std::make_shared<LegendEntry>("Hidden", LegendForm::square, kNaN, kNaN, 0, std::nullopt,
                                                 Color::clear()),
                   std::make_shared<LegendEntry>("Paper white", LegendForm::circle, 12, kNaN, 0, std::nullopt, kRed)});
  LegendRenderer sideRenderer(viewPort, side);
  sideRenderer.computeLegend(data);
  sideRenderer.renderLegend(*ctx);
  ASSERT_FALSE(ctx->isInErrorState());

  const auto image = ctx->makeImage(1);
  const auto path = testsupport::testOutputFolder() / "legend.png";
  ASSERT_TRUE(platform::cairo::writePNG(*image, path));
  std::printf("legends written to %s\n", path.c_str());

  // The first square of each legend, at its centre, in its colour.
  const double lineHeight = currentTextMetrics().fontLineHeight(bottom->font());
  const double bottomTop = 150 - 3 - bottom->neededHeight();
  EXPECT_EQ(pixelAt(*image, 15 + 4, bottomTop + lineHeight / 2), 0xFFCC3333u);
  EXPECT_EQ(pixelAt(*image, 420 - 15 - 4, 10 + 3 + lineHeight / 2), 0xFF3333CCu);
  // The clear entry keeps its line but paints nothing where its form would be.
  EXPECT_EQ(pixelAt(*image, 420 - 15 - 4, 10 + 3 + lineHeight * 1.5), 0xFFFFFFFFu);
}
