// Transformer::pointValuesToPixel on 10^6 points next to a plain loop that
// applies the same affine transform to the same array. Each iteration maps a
// fresh copy of the values (the copy is not timed). After the runs a summary
// prints the time per point of both and their ratio with the goal (2.0).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Chart/Utils/Transformer.h"
#include "RatioReporter.h"

namespace {

using chart::AffineTransform;
using chart::Point;

constexpr int kPoints = 1000000;

std::vector<Point> randomValues(std::size_t n) {
  std::mt19937_64 g(7);
  std::uniform_real_distribution<double> x(0.0, 255.0), y(0.0, 100.0);
  std::vector<Point> v(n);
  for (auto& p : v) p = {x(g), y(g)};
  return v;
}

// A 600 × 400 chart with room for axes and legend, x 0...255, y 0...100.
chart::Transformer makeTransformer() {
  auto handler = std::make_shared<chart::ViewPortHandler>(600, 400);
  handler->restrainViewPort(40, 10, 20, 50);
  chart::Transformer transformer(handler);
  transformer.prepareMatrixValuePx(0, 255, 100, 0);
  transformer.prepareMatrixOffset(false);
  return transformer;
}

// Times `map` over a fresh copy of the same random values in every iteration.
template <class Map>
void mapFreshCopies(benchmark::State& state, Map map) {
  const std::vector<Point> values = randomValues(kPoints);
  std::vector<Point> points;
  for (auto _ : state) {
    state.PauseTiming();
    points = values;
    state.ResumeTiming();
    map(points);
    benchmark::DoNotOptimize(points.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_pointValuesToPixel(benchmark::State& state) {
  const chart::Transformer transformer = makeTransformer();
  mapFreshCopies(state, [&](std::vector<Point>& points) { transformer.pointValuesToPixel(points); });
}

void BM_plainLoop(benchmark::State& state) {
  const AffineTransform m = makeTransformer().valueToPixelMatrix();
  mapFreshCopies(state, [&](std::vector<Point>& points) {
    Point* p = points.data();
    for (std::size_t i = 0, n = points.size(); i < n; ++i) {
      const double x = p[i].x, y = p[i].y;
      p[i].x = m.a * x + m.c * y + m.tx;
      p[i].y = m.b * x + m.d * y + m.ty;
    }
  });
}

BENCHMARK(BM_pointValuesToPixel);
BENCHMARK(BM_plainLoop);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;

  auto ours = reporter.times.find("BM_pointValuesToPixel");
  auto plain = reporter.times.find("BM_plainLoop");
  if (ours == reporter.times.end() || plain == reporter.times.end()) return 0;
  const double ratio = ours->second / plain->second;
  std::printf("\npointValuesToPixel: %.2f ns per point; plain loop: %.2f ns per point\n",
              ours->second / kPoints, plain->second / kPoints);
  std::printf("ours / plain loop: %.2f  (goal 2.0)%s\n", ratio, ratio <= 2.0 ? "" : "  over the goal");
  return 0;
}
