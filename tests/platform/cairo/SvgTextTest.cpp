#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "platform/cairo/CairoContext.h"

using namespace platform::graphics;
using platform::cairo::CairoContext;

namespace {

// One glyph as an SVG document shows it: its colour and the corners of its
// outline on the page, whoever wrote it.
struct ShownGlyph {
  std::vector<double> color;  // red, green, blue in percent, opacity
  std::vector<double> corners;
};

std::vector<double> numbers(const std::string& text) {
  std::vector<double> out;
  static const std::regex number(R"(-?[0-9]*\.?[0-9]+(?:e-?[0-9]+)?)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
    out.push_back(std::stod(it->str()));
  return out;
}

// Every glyph of the document, in the order of the page, left to right.
std::vector<ShownGlyph> glyphsShown(const std::string& svg) {
  std::map<std::string, std::vector<double>> outlines;
  static const std::regex symbol(R"re(<symbol overflow="visible" id="([^"]+)">\s*<path style="stroke:none;" d="([^"]*)")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), symbol); it != std::sregex_iterator(); ++it)
    outlines[(*it)[1]] = numbers((*it)[2]);
  std::vector<ShownGlyph> shown;
  static const std::regex group(
      R"re(<g style="fill:rgb\(([^)]*)\);fill-opacity:([^;]*);"(?: transform="matrix\(([^)]*)\)")?>([^]*?)</g>)re");
  static const std::regex use(R"re(<use xlink:href="#([^"]+)" x="([^"]+)" y="([^"]+)"/>)re");
  for (auto g = std::sregex_iterator(svg.begin(), svg.end(), group); g != std::sregex_iterator(); ++g) {
    std::vector<double> color = numbers((*g)[1]);
    color.push_back(std::stod((*g)[2]));
    std::vector<double> m = (*g)[3].matched ? numbers((*g)[3]) : std::vector<double>{1, 0, 0, 1, 0, 0};
    const std::string uses = (*g)[4];
    for (auto u = std::sregex_iterator(uses.begin(), uses.end(), use); u != std::sregex_iterator(); ++u) {
      const double x = std::stod((*u)[2]), y = std::stod((*u)[3]);
      ShownGlyph glyph{color, {}};
      const std::vector<double>& outline = outlines[(*u)[1]];
      for (size_t i = 0; i + 1 < outline.size(); i += 2) {
        const double px = outline[i] + x, py = outline[i + 1] + y;
        glyph.corners.push_back(m[0] * px + m[2] * py + m[4]);
        glyph.corners.push_back(m[1] * px + m[3] * py + m[5]);
      }
      shown.push_back(glyph);
    }
  }
  std::sort(shown.begin(), shown.end(), [](const ShownGlyph& a, const ShownGlyph& b) {
    const auto at = [](const ShownGlyph& g) {
      return g.corners.size() < 2 ? std::pair<double, double>{0, 0}
                                  : std::pair<double, double>{std::round(g.corners[0]), std::round(g.corners[1])};
    };
    return at(a) < at(b);
  });
  return shown;
}

const TextAttributes kPlain{Font::systemFont(12), Color::black(), std::nullopt};

}  // namespace

// The context writes text itself, each outline once for the process; the
// page shows every glyph where Cairo's own SVG puts it (within what the font
// engine rounds to, a 64th of a pixel at the size traced: Cairo traces a
// scaled font at its size on the page, the context at its own size),
// in its colour, under every turn and clip, and in the order drawn where
// shapes overlap.
TEST(CairoSVG, TextShowsAsCairoWouldWriteIt) {
  struct Row {
    const char* name;
    std::function<void(DrawingContext&)> draw;
    bool written = true;  // by the context rather than by Cairo
  };
  const TextAttributes large{Font::systemFont(30), Color::rgb(0.2, 0.5, 0.8, 0.6), std::nullopt};
  const std::vector<Row> rows{
      {"plain line", [](DrawingContext& c) { c.drawText("Lk 0.5 %", Point{2, 2}, kPlain); }},
      {"coloured, large", [&](DrawingContext& c) { c.drawText("Dmax", Point{20, 30}, large); }},
      {"turned as an axis title",
       [](DrawingContext& c) {
         c.translateBy(20, 150);
         c.rotateBy(-std::numbers::pi / 2);
         c.drawText("L* (paper white 94.8)", Point{0, 0}, kPlain);
       }},
      {"turned and scaled",
       [](DrawingContext& c) {
         c.translateBy(60, 60);
         c.rotateBy(0.5);
         c.scaleBy(2, 1.5);
         c.drawText("ink", Point{0, 0}, kPlain);
       }},
      {"lines in a rectangle, centred",
       [](DrawingContext& c) {
         c.drawTextInRect("input of the .quad (%): 0 = darkest", Rect(10, 100, 90, 80),
                          TextAttributes{Font::systemFont(11), Color::black(), ParagraphStyle{TextAlignment::center}});
       }},
      {"inside a clip",
       [](DrawingContext& c) {
         c.clipToRect(Rect(0, 0, 150, 40));
         c.drawText("held", Point{10, 10}, kPlain);
       }},
      {"hanging off the page", [](DrawingContext& c) { c.drawText("edge", Point{185, 190}, kPlain); }},
      {"cut by a clip",
       [](DrawingContext& c) {
         c.clipToRect(Rect(0, 0, 20, 40));
         c.drawText("cut", Point{10, 10}, kPlain);
       },
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string documents[2];
    for (const bool cairoWrites : {false, true}) {
      auto svg = CairoContext::createSVG(200, 200, cairoWrites);
      svg->saveGState();
      row.draw(*svg);
      svg->restoreGState();
      documents[cairoWrites] = svg->finishSVG().value_or("");
    }
    EXPECT_EQ(documents[0].find("#inkcurve-glyph") != std::string::npos, row.written) << documents[0];
    const auto ours = glyphsShown(documents[0]), cairos = glyphsShown(documents[1]);
    ASSERT_FALSE(cairos.empty());
    ASSERT_EQ(ours.size(), cairos.size());
    for (size_t g = 0; g < ours.size(); ++g) {
      ASSERT_EQ(ours[g].corners.size(), cairos[g].corners.size()) << "glyph " << g;
      for (size_t i = 0; i < ours[g].corners.size(); ++i)
        ASSERT_NEAR(ours[g].corners[i], cairos[g].corners[i], 3.0 / 64) << "glyph " << g << ", number " << i;
      for (size_t i = 0; i < 4; ++i) ASSERT_NEAR(ours[g].color[i], cairos[g].color[i], 1e-3);
    }
  }

  // Overlaps keep their order: a line painted over is drawn before what
  // covers it; a line nothing covers is written over the rest at the end.
  auto svg = CairoContext::createSVG(200, 200);
  svg->drawText("under", Point{10, 10}, kPlain);
  svg->drawText("beside", Point{10, 100}, kPlain);
  svg->setFillColor(Color::rgb(1, 0, 0));
  svg->fillRect(Rect(5, 5, 60, 20));
  const std::string document = svg->finishSVG().value_or("");
  const size_t cover = document.find("fill:rgb(100%,0%,0%)");
  ASSERT_NE(cover, std::string::npos);
  EXPECT_LT(document.find("href=\"#glyph"), cover) << document;
  EXPECT_GT(document.find("href=\"#inkcurve-glyph"), cover) << document;
  EXPECT_EQ(glyphsShown(document).size(), 11u);
}

// An SVG document's lines leave out the corners that bend them by less than
// a fiftieth of a pixel, and no others: each point drawn stays that close to
// the line written, and a line that turns back keeps its turns.
TEST(CairoSVG, LinesKeepTheirShapeWithFewerCorners) {
  const auto distanceToLine = [](double px, double py, const std::vector<double>& line) {
    double best = INFINITY;
    for (size_t i = 0; i + 3 < line.size(); i += 2) {
      const double ax = line[i], ay = line[i + 1], dx = line[i + 2] - ax, dy = line[i + 3] - ay;
      const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / std::max(dx * dx + dy * dy, 1e-12), 0.0, 1.0);
      best = std::min(best, std::hypot(ax + t * dx - px, ay + t * dy - py));
    }
    return best;
  };
  struct Row {
    const char* name;
    std::function<Point(int)> at;
    int points;
    size_t mostCorners;
  };
  const std::vector<Row> rows{
      {"a smooth curve, finely sampled", [](int i) { return Point{1.5 * i, 100 + 60 * std::sin(i / 60.0)}; }, 500, 150},
      {"a straight line", [](int i) { return Point{2.0 * i, 0.5 * i}; }, 400, 20},
      {"a line that turns back", [](int i) { return Point{i % 2 == 0 ? 10.0 : 190.0, 10.0 + 0.001 * i}; }, 40, 40},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto svg = CairoContext::createSVG(800, 400);
    svg->setStrokeColor(Color::rgb(0, 0, 1));
    svg->beginPath();
    std::vector<Point> drawn;
    for (int i = 0; i < row.points; ++i) drawn.push_back(row.at(i));
    svg->moveTo(drawn[0]);
    for (size_t i = 1; i < drawn.size(); ++i) svg->addLineTo(drawn[i]);
    svg->strokePath();
    const std::string document = svg->finishSVG().value_or("");
    const std::smatch found = [&] {
      std::smatch m;
      std::regex_search(document, m, std::regex(R"re(stroke:rgb\(0%,0%,100%\)[^"]*" d="([^"]*)")re"));
      return m;
    }();
    ASSERT_TRUE(found.size() > 1 && found[1].matched) << document;
    const std::vector<double> line = numbers(found[1]);
    EXPECT_LE(line.size() / 2, row.mostCorners);
    EXPECT_EQ(line[0], drawn.front().x);
    // Cairo holds coordinates to a 256th of a pixel.
    EXPECT_NEAR(line[line.size() - 1], drawn.back().y, 1.0 / 256);
    for (const Point p : drawn) ASSERT_LE(distanceToLine(p.x, p.y, line), 0.02 + 1.0 / 256) << p.x << ", " << p.y;
  }
}
