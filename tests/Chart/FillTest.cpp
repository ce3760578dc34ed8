#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Chart/ChartExternalNames.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Interfaces/LineChartDataProvider.h"
#include "platform/graphics/RecordingContext.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Gradient;
using platform::graphics::Image;
using platform::graphics::Layer;
using platform::graphics::RecordingContext;
using platform::graphics::Size;
using testsupport::expectNear;
using Op = RecordingContext::Op;

namespace {

const Color kRed = Color::rgb(1, 0, 0);
const Rect kArea(0, 0, 100, 50);

std::shared_ptr<const Gradient> redToBlue() {
  return std::make_shared<const Gradient>(Gradient{{{kRed, 0}, {Color::rgb(0, 0, 1), 1}}});
}

std::shared_ptr<const Image> onePixel() { return Image::make(1, 1, {0xFF000000u}); }

std::shared_ptr<Layer> smallLayer() {
  return std::make_shared<Layer>(Size{4, 4}, std::make_unique<RecordingContext>());
}

// A context with a red fill colour, a clip and the area's outline as its
// current path, as a line renderer hands it to the fill.
RecordingContext contextWithOutline() {
  RecordingContext ctx;
  ctx.setFillColor(Color::rgb(0, 1, 0));
  ctx.clipToRect(Rect(-10, -10, 200, 200));
  ctx.moveTo({0, 50});
  ctx.addLineTo({50, 0});
  ctx.addLineTo({100, 50});
  ctx.closePath();
  return ctx;
}

std::vector<Op> kinds(const RecordingContext& ctx, size_t from) {
  std::vector<Op> out;
  for (size_t i = from; i < ctx.operations().size(); ++i) out.push_back(ctx.operations()[i].op);
  return out;
}

// Every fill but the empty one paints inside save and restore, clipped to
// (or, for a colour, filling) the caller's path, and leaves the state as it
// found it with the path consumed.
TEST(Fill, PaintsInsideSaveClipRestoreAndConsumesThePath) {
  const auto layer = smallLayer();
  struct Case {
    std::shared_ptr<Fill> fill;
    FillType type;
    Op paint;
  };
  const Case cases[] = {
      {Fill::fillWithColor(kRed), FillType::color, Op::fillPath},
      {Fill::fillWithLinearGradient(redToBlue(), 270), FillType::linearGradient, Op::drawLinearGradient},
      {Fill::fillWithRadialGradient(redToBlue()), FillType::radialGradient, Op::drawRadialGradient},
      {Fill::fillWithImage(onePixel()), FillType::image, Op::drawImage},
      {Fill::fillWithCGImage(onePixel(), true), FillType::tiledImage, Op::drawTiledImage},
      {Fill::fillWithCGLayer(layer), FillType::layer, Op::drawLayer},
  };
  for (const Case& c : cases) {
    const std::string label = "type " + std::to_string(static_cast<int>(c.type));
    ASSERT_NE(c.fill, nullptr) << label;
    EXPECT_EQ(c.fill->type(), c.type) << label;
    RecordingContext ctx = contextWithOutline();
    const auto before = ctx.state();
    const auto outline = ctx.currentPath();
    const size_t start = ctx.operations().size();

    c.fill->fillPath(ctx, kArea);

    const std::vector<Op> expected =
        c.type == FillType::color ? std::vector<Op>{Op::saveGState, Op::setFillColor, Op::fillPath, Op::restoreGState}
                                  : std::vector<Op>{Op::saveGState, Op::clip, c.paint, Op::restoreGState};
    EXPECT_EQ(kinds(ctx, start), expected) << label;
    const auto& painted = ctx.operations()[start + 2];
    if (c.type == FillType::color) {
      EXPECT_EQ(painted.state.fillColor, kRed) << label;
      EXPECT_EQ(painted.path, outline) << label;
    } else {
      ASSERT_EQ(painted.state.clip.size(), 2u) << label;
      EXPECT_EQ(painted.state.clip[1].path, outline) << label;
    }
    if (c.type == FillType::image || c.type == FillType::tiledImage) {
      EXPECT_EQ(painted.image, c.fill->image().get()) << label;
      EXPECT_EQ(painted.rect, kArea) << label;
    }
    if (c.type == FillType::layer) {
      EXPECT_EQ(painted.layer, layer.get());
      EXPECT_EQ(painted.rect, kArea);
    }
    if (c.type == FillType::linearGradient || c.type == FillType::radialGradient) {
      EXPECT_EQ(painted.gradient, *redToBlue()) << label;
      EXPECT_EQ(static_cast<unsigned>(painted.gradientOptions), 3u) << label;
    }
    EXPECT_EQ(ctx.state(), before) << label;
    EXPECT_TRUE(ctx.currentPath().empty()) << label;
  }

  // The empty fill touches nothing: no state saved, the path left in place.
  RecordingContext ctx = contextWithOutline();
  const size_t start = ctx.operations().size();
  const auto outline = ctx.currentPath();
  Fill().fillPath(ctx, kArea);
  EXPECT_EQ(ctx.operations().size(), start);
  EXPECT_EQ(ctx.currentPath(), outline);
}

TEST(Fill, GradientEndPointsFollowTheAngleAndTheRectangle) {
  struct Case {
    std::shared_ptr<Fill> fill;
    Rect area;
    Point start, end;
    double startRadius, endRadius;  // radial only
  };
  const Case cases[] = {
      {Fill::fillWithLinearGradient(redToBlue(), 0), kArea, {0, 25}, {100, 25}, 0, 0},
      {Fill::fillWithLinearGradient(redToBlue(), 90), kArea, {50, 50}, {50, 0}, 0, 0},   // bottom to top
      {Fill::fillWithLinearGradient(redToBlue(), 270), kArea, {50, 0}, {50, 50}, 0, 0},  // top to bottom
      {Fill::fillWithLinearGradient(redToBlue(), 180), Rect(10, 20, 40, 60), {50, 50}, {10, 50}, 0, 0},
      {Fill::fillWithLinearGradient(redToBlue(), 270), Rect(50, 60, -40, -40), {30, 20}, {30, 60}, 0, 0},
      {Fill::fillWithRadialGradient(redToBlue()), kArea, {50, 25}, {50, 25}, 0, 50},
      {Fill::fillWithRadialGradient(redToBlue(), {0.1, -0.2}, 0.5, {-0.5, 0.5}, 2), kArea, {60, 15}, {0, 50}, 25,
       100},
  };
  for (const Case& c : cases) {
    const std::string label = "angle " + std::to_string(c.fill->gradientAngle()) + " type " +
                              std::to_string(static_cast<int>(c.fill->type()));
    RecordingContext ctx;
    c.fill->fillPath(ctx, c.area);
    const bool radial = c.fill->type() == FillType::radialGradient;
    const auto drawn = ctx.operations(radial ? Op::drawRadialGradient : Op::drawLinearGradient);
    ASSERT_EQ(drawn.size(), 1u) << label;
    ASSERT_EQ(drawn[0].points.size(), 2u) << label;
    expectNear(drawn[0].points[0], c.start, label + " start");
    expectNear(drawn[0].points[1], c.end, label + " end");
    if (radial) {
      EXPECT_EQ(drawn[0].values, (std::vector<double>{c.startRadius, c.endRadius})) << label;
    }
  }
}

TEST(Fill, RawTypesAndAbsentResources) {
  for (int raw = 0; raw <= 6; ++raw) EXPECT_EQ(static_cast<int>(fillTypeFromRaw(raw).value()), raw);
  EXPECT_EQ(fillTypeFromRaw(7), std::nullopt);
  EXPECT_EQ(fillTypeFromRaw(-1), std::nullopt);

  // The factories answer none for an absent resource; the constructors
  // refuse one, so a fill always holds what it paints with.
  EXPECT_EQ(Fill::fillWithLinearGradient(nullptr, 0), nullptr);
  EXPECT_EQ(Fill::fillWithRadialGradient(nullptr), nullptr);
  EXPECT_EQ(Fill::fillWithRadialGradient(nullptr, {}, 0, {}, 1), nullptr);
  EXPECT_EQ(Fill::fillWithImage(nullptr, true), nullptr);
  EXPECT_EQ(Fill::fillWithCGImage(nullptr), nullptr);
  EXPECT_EQ(Fill::fillWithCGLayer(nullptr), nullptr);
  EXPECT_THROW(Fill(std::shared_ptr<const Gradient>(), 90), std::invalid_argument);
  EXPECT_THROW(Fill(std::shared_ptr<const Image>(), false), std::invalid_argument);
  EXPECT_THROW(Fill(std::shared_ptr<Layer>()), std::invalid_argument);

  const auto empty = std::make_shared<ChartFill>();
  EXPECT_EQ(empty->type(), FillType::empty);
  EXPECT_EQ(empty->color(), std::nullopt);
  EXPECT_EQ(empty->gradient(), nullptr);
  EXPECT_EQ(Fill::fillWithCGColor(kRed)->color(), kRed);
}

// fillPath reads everything through the getters.
TEST(Fill, SubclassGettersDecideWhatIsPainted) {
  class Turned : public Fill {
   public:
    using Fill::Fill;
    double gradientAngle() const override { return 0; }
  };
  class Blank : public Fill {
   public:
    using Fill::Fill;
    FillType type() const override { return FillType::empty; }
  };
  RecordingContext ctx;
  Turned(redToBlue(), 270).fillPath(ctx, kArea);
  const auto drawn = ctx.operations(Op::drawLinearGradient);
  ASSERT_EQ(drawn.size(), 1u);
  expectNear(drawn[0].points[0], {0, 25}, "turned start");
  Blank(kRed).fillPath(ctx, kArea);
  EXPECT_EQ(ctx.operations().size(), 4u);
}

// A chart view as the fill formatter sees it.
class StubProvider : public LineChartDataProvider {
 public:
  std::shared_ptr<ChartData> chartData;
  double yMinimum = 0;
  double yMaximum = 0;

  std::shared_ptr<ChartData> data() const override { return chartData; }
  double chartYMax() const override { return yMaximum; }
  double chartYMin() const override { return yMinimum; }
};

std::shared_ptr<LineChartDataSet> lineThrough(std::vector<double> ys) {
  std::vector<EntryPtr> entries;
  for (size_t i = 0; i < ys.size(); ++i) entries.push_back(std::make_shared<ChartDataEntry>(double(i), ys[i]));
  return std::make_shared<LineChartDataSet>(entries, "line");
}

TEST(DefaultFillFormatter, FillLineFollowsTheSignsOfTheSetAndTheChart) {
  struct Case {
    std::vector<double> set;
    bool withData;
    std::vector<double> otherSet;  // more data in the chart
    double expected;
  };
  // chartYMin is -7 and chartYMax 70 throughout, so each answer shows which
  // candidate was taken.
  const Case cases[] = {
      {{-5, 5}, true, {}, 0},          // the set crosses 0
      {{-5, 5}, false, {}, 0},
      {{10, 50}, true, {}, -7},        // all positive, data minimum 10: down to the range's bottom
      {{10, 50}, true, {-1}, 0},       // a negative value elsewhere: down to 0
      {{0, 50}, true, {}, -7},         // a minimum of exactly 0 counts as positive
      {{-50, -10}, true, {}, 70},      // all negative: up to the range's top
      {{-50, -10}, true, {3}, 0},
      {{-50, -10}, true, {0}, 70},     // a data maximum of exactly 0 is not above 0
      {{10, 50}, false, {}, 0},        // no chart data
      {{}, true, {1}, -7},             // an empty set (unset extremes) takes the lower candidate
  };
  for (const Case& c : cases) {
    const auto set = lineThrough(c.set);
    StubProvider provider;
    provider.yMinimum = -7;
    provider.yMaximum = 70;
    if (c.withData) {
      provider.chartData = std::make_shared<LineChartData>(std::vector<DataSetPtr>{set, lineThrough(c.otherSet)});
    }
    EXPECT_EQ(set->fillFormatter()->getFillLinePosition(*set, provider), c.expected)
        << c.set.size() << " values from " << (c.set.empty() ? 0 : c.set.front()) << (c.withData ? "" : ", no data");
  }
}

TEST(DefaultFillFormatter, ABlockDecidesAlone) {
  const auto set = lineThrough({-5, 5});
  StubProvider provider;
  const ILineChartDataSet* seenSet = nullptr;
  const LineChartDataProvider* seenProvider = nullptr;
  const auto formatter =
      ChartDefaultFillFormatter::with([&](const ILineChartDataSet& s, const LineChartDataProvider& p) {
        seenSet = &s;
        seenProvider = &p;
        return 12.5;
      });
  EXPECT_EQ(formatter->getFillLinePosition(*set, provider), 12.5);
  EXPECT_EQ(seenSet, set.get());
  EXPECT_EQ(seenProvider, &provider);
  formatter->setBlock(nullptr);
  EXPECT_EQ(formatter->getFillLinePosition(*set, provider), 0);

  // The position goes through the block getter.
  class Fixed : public DefaultFillFormatter {
   public:
    const Block& block() const override { return fixed; }
    Block fixed = [](const ILineChartDataSet&, const LineChartDataProvider&) { return -3.0; };
  };
  std::shared_ptr<IChartFillFormatter> fixed = std::make_shared<Fixed>();
  EXPECT_EQ(fixed->getFillLinePosition(*lineThrough({10, 50}), provider), -3.0);
}

}  // namespace
