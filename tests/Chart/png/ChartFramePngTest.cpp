#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "Chart/Components/MarkerImage.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextMetrics.h"
#include "support/FakeHost.h"
#include "support/scenes/ChartScenes.h"

using namespace chart;
using platform::cairo::CairoContext;
using platform::graphics::Image;

namespace {

// Draws the scenes with Cairo's text metrics (the views lay themselves out
// with the metrics in force when their data is set).
class ChartFrames : public testing::Test {
 protected:
  void SetUp() override { platform::cairo::installCairoBackend(); }
  void TearDown() override {
    platform::graphics::setImageBackend({});
    platform::graphics::setCurrentTextMetrics(nullptr);
  }

  // The scene drawn on white, written under the test-output folder.
  static std::shared_ptr<const Image> render(LineChartView& view, const std::string& name) {
    auto context = CairoContext::create(600, 400, true);
    context->setFillColor(platform::graphics::Color::white());
    context->fillRect(Rect(0, 0, 600, 400));
    view.draw(*context);
    EXPECT_FALSE(context->isInErrorState()) << name;
    auto image = context->makeImage(1);
    const auto path = testsupport::testOutputFolder() / name;
    EXPECT_TRUE(platform::cairo::writePNG(*image, path));
    std::printf("%s written to %s\n", name.c_str(), path.c_str());
    return image;
  }
};

uint32_t pixelAt(const Image& image, double x, double y) {
  return image.pixels()[static_cast<size_t>(std::floor(y)) * static_cast<size_t>(image.width()) +
                        static_cast<size_t>(std::floor(x))];
}

uint32_t opaque(const platform::graphics::Color& c) {
  const auto byte = [](double v) { return static_cast<uint32_t>(std::lround(v * 255)); };
  return 0xFF000000u | byte(c.red) << 16 | byte(c.green) << 8 | byte(c.blue);
}

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// The main frame: the "Target" limit line fills its row in its colour, the
// dashed grid lines lie on the rows and columns of the axis values, with
// white between them, and the marker lies inside the view.
TEST_F(ChartFrames, MainSceneDrawsGridLimitLinesAndMarkerWhereTheViewSays) {
  const auto view = scenes::makeMainScene();
  const auto image = render(*view, "chart-main-scene.png");
  const ViewPortHandler& h = *view->viewPortHandler();
  const Transformer& left = *view->getTransformer(AxisDependency::left);

  // Limit lines are drawn over the data: the whole left half of the row.
  const double target = left.pixelForValues(0, 50).y;
  const uint32_t limitColour = opaque(ChartLimitLine::defaultLineColor);
  for (double x = h.contentLeft() + 2; x < h.contentLeft() + h.contentWidth() / 2; x += 5)
    EXPECT_EQ(pixelAt(*image, x, target), limitColour) << "x " << x;

  // The left axis's forced labels are every 10; at the content's left edge
  // the curves lie at the bottom, and a dash starts at the edge.
  const uint32_t gridColour = opaque(view->leftAxis()->gridColor());
  ASSERT_EQ(view->leftAxis()->entries().size(), 11u);
  const double column = std::floor(h.contentLeft()) + 3.5;
  for (const double value : {10, 20, 30, 40, 60, 70, 80, 90}) {
    const double y = left.pixelForValues(0, value).y;
    const bool painted = pixelAt(*image, column, y - 1) == gridColour || pixelAt(*image, column, y) == gridColour ||
                         pixelAt(*image, column, y + 1) == gridColour;
    EXPECT_TRUE(painted) << "grid line at " << value;
    EXPECT_EQ(pixelAt(*image, column, left.pixelForValues(0, value + 5).y), kWhite) << "between " << value;
  }
  // The x axis's granularity 25.5: lines at 51 and 76.5 (the one at 25.5 lies
  // under its limit line).
  EXPECT_EQ(view->xAxis()->entries(), (std::vector<double>{0, 25.5, 51, 76.5}));
  const double row = std::floor(h.contentTop()) + 2.5;
  for (const double value : {51.0, 76.5}) {
    const double x = left.pixelForValues(value, 0).x;
    const bool painted = pixelAt(*image, x - 1, row) == gridColour || pixelAt(*image, x, row) == gridColour ||
                         pixelAt(*image, x + 1, row) == gridColour;
    EXPECT_TRUE(painted) << "grid line at x " << value;
    EXPECT_EQ(pixelAt(*image, left.pixelForValues(value - 12, 0).x, row), kWhite) << "before x " << value;
  }

  // The marker would reach past the right edge: it ends on the view's last
  // column instead, its frame there and its pale inside just left of it.
  auto& marker = dynamic_cast<MarkerImage&>(*view->marker());
  const Point at = view->getMarkerPosition(*view->highlighted().at(0));
  const Point offset = marker.offsetForDrawing(at);
  EXPECT_DOUBLE_EQ(at.x + offset.x + 48, 600);
  EXPECT_EQ(pixelAt(*image, 599, at.y + offset.y + 13), 0xFF3A3A4Au);
  EXPECT_EQ(pixelAt(*image, 590, at.y + offset.y + 13), 0xFFFFF4C8u);
}

TEST_F(ChartFrames, TurnedAndWrappedLabelsSceneIsWritten) {
  const auto view = scenes::makeTurnedLabelsScene();
  const auto image = render(*view, "chart-turned-labels.png");
  EXPECT_EQ(view->xAxis()->entryCount(), 11);
  // The turned labels need more room below the content than one line.
  EXPECT_GT(view->viewPortHandler()->offsetBottom(), 40);
  EXPECT_EQ(image->width(), 600);
}

}  // namespace

// Fontconfig keeps its font caches for the life of the process and never frees
// them; the leak checker is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
