#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "Chart/Data/ChevronDownShapeRenderer.h"
#include "Chart/Data/ChevronUpShapeRenderer.h"
#include "Chart/Data/CircleShapeRenderer.h"
#include "Chart/Data/CrossShapeRenderer.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/ScatterChartData.h"
#include "Chart/Data/ScatterChartDataSet.h"
#include "Chart/Data/SquareShapeRenderer.h"
#include "Chart/Data/TriangleShapeRenderer.h"
#include "Chart/Data/XShapeRenderer.h"
#include "Chart/Utils/ViewPortHandler.h"
#include "platform/graphics/RecordingContext.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Point;
using platform::graphics::RecordingContext;
using Shape = ScatterChartDataSet::Shape;
using Op = RecordingContext::Op;

namespace {

const Color kInk = Color::rgb(0.2, 0.4, 0.6);
const Color kHole = Color::rgb(1, 1, 0);

std::string colour(const Color& c) { return c == kInk ? "ink" : c == kHole ? "hole" : "other"; }

// The recorded calls as lines of text: the call, then what it was given.
std::vector<std::string> trace(const RecordingContext& context) {
  std::vector<std::string> lines;
  for (const auto& o : context.operations()) {
    std::ostringstream line;
    const auto& r = o.rect;
    switch (o.op) {
      case Op::setFillColor: line << "fill colour " << colour(o.state.fillColor); break;
      case Op::setStrokeColor: line << "stroke colour " << colour(o.state.strokeColor); break;
      case Op::setLineWidth: line << "line width " << o.state.lineWidth; break;
      case Op::fillRect: line << "fill rect "; break;
      case Op::strokeRect: line << "stroke rect "; break;
      case Op::fillEllipseInRect: line << "fill ellipse "; break;
      case Op::strokeEllipseInRect: line << "stroke ellipse "; break;
      case Op::beginPath: line << "begin"; break;
      case Op::moveTo: line << "move " << o.points[0].x << " " << o.points[0].y; break;
      case Op::addLineTo: line << "line " << o.points[0].x << " " << o.points[0].y; break;
      case Op::closePath: line << "close"; break;
      case Op::fillPath: line << "fill path"; break;
      case Op::strokePath: line << "stroke path"; break;
      default: line << "unexpected call " << int(o.op); break;
    }
    if (o.op == Op::fillRect || o.op == Op::strokeRect || o.op == Op::fillEllipseInRect ||
        o.op == Op::strokeEllipseInRect) {
      line << r.origin.x << " " << r.origin.y << " " << r.size.width << " " << r.size.height;
    }
    lines.push_back(line.str());
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(ScatterChartDataSet, DefaultsAndShapes) {
  const ScatterChartDataSet fresh;
  EXPECT_EQ(fresh.scatterShapeSize(), 10);
  EXPECT_EQ(fresh.scatterShapeHoleRadius(), 0);
  EXPECT_EQ(fresh.scatterShapeHoleColor(), std::nullopt);
  ASSERT_NE(fresh.shapeRenderer(), nullptr);
  EXPECT_EQ(typeid(*fresh.shapeRenderer()), typeid(SquareShapeRenderer));
  // Every set has a renderer of its own.
  EXPECT_NE(ScatterChartDataSet().shapeRenderer(), fresh.shapeRenderer());

  const std::pair<int, const std::type_info&> shapes[] = {
      {0, typeid(SquareShapeRenderer)},    {1, typeid(CircleShapeRenderer)},    {2, typeid(TriangleShapeRenderer)},
      {3, typeid(CrossShapeRenderer)},     {4, typeid(XShapeRenderer)},         {5, typeid(ChevronUpShapeRenderer)},
      {6, typeid(ChevronDownShapeRenderer)},
  };
  ScatterChartDataSet set;
  for (const auto& [raw, type] : shapes) {
    const auto before = set.shapeRenderer();
    set.setScatterShape(*scatterShapeFromRaw(raw));
    ASSERT_NE(set.shapeRenderer(), nullptr) << raw;
    EXPECT_EQ(typeid(*set.shapeRenderer()), type) << raw;
    EXPECT_NE(set.shapeRenderer(), before) << raw;
  }
  EXPECT_EQ(scatterShapeFromRaw(7), std::nullopt);
  EXPECT_EQ(ScatterChartDataSet::rendererForShape(static_cast<Shape>(9)), nullptr);
}

// What each renderer records for one shape; none saves or restores the
// graphics state, which is the caller's business.
TEST(ShapeRenderers, RecordedShapes) {
  struct Case {
    const char* name;
    Shape shape;
    double size, holeRadius;
    std::optional<Color> holeColor;
    Point at;
    Lines expected;
  };
  const auto none = std::nullopt;
  const Point origin{0, 0}, centre{50, 50};
  const Case cases[] = {
      {"square", Shape::square, 10, 0, kHole, centre, {"fill colour ink", "fill rect 45 45 10 10"}},
      {"square with a hole", Shape::square, 10, 2, kHole, centre,
       {"stroke colour ink", "line width 3", "stroke rect 46.5 46.5 7 7", "fill colour hole", "fill rect 48 48 4 4"}},
      {"square with an unfilled hole", Shape::square, 10, 2, none, centre,
       {"stroke colour ink", "line width 3", "stroke rect 46.5 46.5 7 7"}},
      {"square with a hole wider than itself", Shape::square, 10, 6, none, origin,
       {"stroke colour ink", "line width -1", "stroke rect -5.5 -5.5 11 11"}},
      {"circle", Shape::circle, 4, 0, none, {10, 20}, {"fill colour ink", "fill ellipse 8 18 4 4"}},
      {"circle with a hole", Shape::circle, 10, 2, kHole, centre,
       {"stroke colour ink", "line width 3", "stroke ellipse 46.5 46.5 7 7", "fill colour hole",
        "fill ellipse 48 48 4 4"}},
      {"triangle", Shape::triangle, 10, 0, kHole, origin,
       {"fill colour ink", "begin", "move 0 -5", "line 5 5", "line -5 5", "close", "fill path"}},
      {"triangle with a hole", Shape::triangle, 10, 1, kHole, origin,
       {"fill colour ink", "begin", "move 0 -5", "line 5 5", "line -5 5", "line 0 -5", "move -1 1", "line 1 1",
        "line 0 -1", "line -1 1", "close", "fill path", "fill colour hole", "begin", "move 0 -1", "line 1 1",
        "line -1 1", "close", "fill path"}},
      {"cross ignores the hole", Shape::cross, 10, 2, kHole, origin,
       {"line width 1", "stroke colour ink", "begin", "move -5 0", "line 5 0", "move 0 -5", "line 0 5", "stroke path"}},
      {"x", Shape::x, 10, 0, none, origin,
       {"line width 1", "stroke colour ink", "begin", "move -5 -5", "line 5 5", "move 5 -5", "line -5 5",
        "stroke path"}},
      {"chevron up", Shape::chevronUp, 10, 0, none, origin,
       {"line width 1", "stroke colour ink", "begin", "move 0 -10", "line 10 0", "move 0 -10", "line -10 0",
        "stroke path"}},
      {"chevron down", Shape::chevronDown, 10, 0, none, {1, 1},
       {"line width 1", "stroke colour ink", "begin", "move 1 11", "line 11 1", "move 1 11", "line -9 1",
        "stroke path"}},
  };
  const ViewPortHandler viewPort(200, 100);
  for (const Case& c : cases) {
    ScatterChartDataSet set;
    set.setScatterShapeSize(c.size);
    set.setScatterShapeHoleRadius(c.holeRadius);
    set.setScatterShapeHoleColor(c.holeColor);
    RecordingContext context;
    ScatterChartDataSet::rendererForShape(c.shape)->renderShape(context, set, viewPort, c.at, kInk);
    EXPECT_EQ(trace(context), c.expected) << c.name;
  }
}

TEST(ScatterChartData, GreatestShapeSize) {
  const auto sized = [](double size) {
    auto set = std::make_shared<ScatterChartDataSet>();
    set->setScatterShapeSize(size);
    return set;
  };
  EXPECT_EQ(ScatterChartData({sized(10), sized(15), sized(12)}).getGreatestShapeSize(), 15);
  EXPECT_EQ(ScatterChartData({sized(10), std::make_shared<LineChartDataSet>(), sized(15)}).getGreatestShapeSize(), 0);
  EXPECT_EQ(ScatterChartData().getGreatestShapeSize(), 0);
}

}  // namespace
