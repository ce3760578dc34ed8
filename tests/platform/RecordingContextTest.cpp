#include <gtest/gtest.h>

#include <memory>

#include "platform/graphics/Layer.h"
#include "platform/graphics/RecordingContext.h"
#include "support/GeometryExpectations.h"

using namespace platform::graphics;
using Op = RecordingContext::Op;
using Kind = PathElement::Kind;

namespace {

const Color kRed = Color::rgb(1, 0, 0);
const Color kBlue = Color::rgb(0, 0, 1);

}  // namespace

// The way every renderer draws: save, change the state, draw, restore.
TEST(RecordingContext, RecordsTheStateInForceAcrossSaveAndRestore) {
  RecordingContext ctx;
  ctx.setStrokeColor(kRed);
  ctx.setLineWidth(2);
  const GraphicsState outer = ctx.state();

  ctx.saveGState();
  ctx.clipToRect(Rect(10, 20, 260, 140));
  ctx.setStrokeColor(kBlue);
  ctx.setLineWidth(0.5);
  ctx.setLineCap(LineCap::round);
  ctx.setLineDash(3, {4, 2});
  ctx.setShouldAntialias(false);
  ctx.translateBy(5, 7);
  ctx.beginPath();
  ctx.moveTo({0, 0});
  ctx.addLineTo({100, 0});
  ctx.strokePath();
  ctx.saveGState();
  ctx.restoreGState();
  ctx.restoreGState();
  ctx.restoreGState();  // nothing saved: ignored, and noted
  ctx.strokeLineSegments({{0, 0}, {1, 1}, {2, 2}});
  EXPECT_EQ(ctx.firstDrop(), (Drop{DropReason::unbalancedRestore, "restoreGState"}));

  const auto strokes = ctx.operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 1u);
  const GraphicsState& inner = strokes[0].state;
  EXPECT_EQ(inner.strokeColor, kBlue);
  EXPECT_EQ(inner.fillColor, Color{});  // opaque black
  EXPECT_EQ(inner.lineWidth, 0.5);
  EXPECT_EQ(inner.lineCap, LineCap::round);
  EXPECT_EQ(inner.dash, (LineDash{3, {4, 2}}));
  EXPECT_FALSE(inner.antialias);
  EXPECT_EQ(inner.clip, (std::vector<ClipRegion>{{Rect(10, 20, 260, 140), {}, {}}}));
  EXPECT_EQ(inner.transform, AffineTransform::makeTranslation(5, 7));
  EXPECT_EQ(inner.saveDepth, 1);
  EXPECT_EQ(strokes[0].path, (Path{{Kind::moveTo, {0, 0}, {}}, {Kind::lineTo, {100, 0}, {}}}));
  EXPECT_TRUE(ctx.currentPath().empty());

  const auto segments = ctx.operations(Op::strokeLineSegments);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].state, outer);
  EXPECT_EQ(segments[0].state.dash, LineDash{});  // solid again
  EXPECT_EQ(segments[0].points.size(), 3u);
  EXPECT_EQ(ctx.operations().size(), 19u);
}

TEST(RecordingContext, PathsTransformsClipsAndLayers) {
  RecordingContext ctx;
  // Clipping to the path consumes it and keeps it in the clip; a shape
  // operation clears a path left open.
  ctx.addRect(Rect(0, 0, 10, 10));
  ctx.addEllipseInRect(Rect(2, 2, 4, 4));
  ctx.clip();
  EXPECT_TRUE(ctx.currentPath().empty());
  ASSERT_EQ(ctx.state().clip.size(), 1u);
  EXPECT_EQ(ctx.state().clip[0].path,
            (Path{{Kind::rect, {}, Rect(0, 0, 10, 10)}, {Kind::ellipse, {}, Rect(2, 2, 4, 4)}}));
  ctx.moveTo({1, 1});
  ctx.closePath();
  ctx.fillEllipseInRect(Rect(0, 0, 1, 1));
  EXPECT_TRUE(ctx.currentPath().empty());

  // Each transform step applies to user space before the ones already made.
  RecordingContext t;
  t.translateBy(10, 0);
  t.scaleBy(2, 3);
  t.rotateBy(0);
  t.concatCTM(AffineTransform::makeTranslation(1, 1));
  EXPECT_EQ(t.state().transform.apply(Point{1, 1}), (Point{14, 6}));

  Gradient gradient{{{kRed, 0}, {kBlue, 1}}};
  t.drawRadialGradient(gradient, {1, 2}, 0, {3, 4}, 5, GradientOptions::drawsBeforeStart | GradientOptions::drawsAfterEnd);
  const auto radial = t.operations(Op::drawRadialGradient).at(0);
  EXPECT_EQ(radial.gradient, gradient);
  EXPECT_EQ(radial.points, (std::vector<Point>{{1, 2}, {3, 4}}));
  EXPECT_EQ(radial.values, (std::vector<double>{0, 5}));
  EXPECT_EQ(static_cast<unsigned>(radial.gradientOptions), 3u);

  Layer layer({20, 10}, std::make_unique<RecordingContext>());
  layer.context().fillRect(Rect(0, 0, 20, 10));
  t.drawLayer(layer, Rect(0, 0, 40, 20));
  EXPECT_EQ(t.operations(Op::drawLayer).at(0).layer, &layer);
  EXPECT_EQ(static_cast<const RecordingContext&>(layer.context()).operations().size(), 1u);

  EXPECT_EQ(lineCapFromRaw(2), LineCap::square);
  EXPECT_EQ(lineCapFromRaw(3), std::nullopt);
}

TEST(RecordingContextDeathTest, LayerWithoutSurfaceStops) {
  EXPECT_DEATH(Layer({1, 1}, nullptr), "Layer needs a surface to draw into");
}
