// Both Douglas-Peucker reductions on noisy points: a sine wave of amplitude
// 100 over 20 periods with uniform noise of +-1 added to every y.
//
// The tolerance reduction runs on 10^6 points at tolerances 0.5 (most of the
// noise survives) and 5 (the wave's shape survives). The count reduction
// runs at 10^4, 10^5 and 10^6 points, keeping 1 % or 10 % of them or a
// fixed 1,000. Each reduction is set against one plain scan that measures
// every point's distance from the line through the two ends, the least any
// reduction must do. After the runs a summary prints the time per point, the
// ratio to that scan, and how the count reduction's time per point grows from
// 10^4 to 10^6 points.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "Chart/Utils/DataApproximator.h"
#include "RatioReporter.h"

namespace {

using chart::DataApproximator;
using Point = DataApproximator::Point;

std::vector<Point> noisyWave(int64_t n) {
  std::mt19937_64 g(11);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  std::vector<Point> points(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(i);
    points[static_cast<size_t>(i)] = {x, 100.0 * std::sin(x / static_cast<double>(n) * 40.0 * std::numbers::pi) + noise(g)};
  }
  return points;
}

void BM_distanceScan(benchmark::State& state) {
  const auto points = noisyWave(state.range(0));
  const Point s = points.front(), e = points.back();
  for (auto _ : state) {
    const double sxey = s.x * e.y, exsy = s.y * e.x, dx = s.x - e.x, dy = s.y - e.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    double best = 0;
    for (const Point& p : points) {
      const double d = std::abs(sxey + (dy * p.x - dx * p.y) - exsy) / length;
      if (d > best) best = d;
    }
    benchmark::DoNotOptimize(best);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_byTolerance(benchmark::State& state) {
  const auto points = noisyWave(state.range(0));
  const double tolerance = static_cast<double>(state.range(1)) / 10.0;
  size_t kept = 0;
  for (auto _ : state) {
    const auto reduced = DataApproximator::reduceWithDouglasPeuker(points, tolerance);
    kept = reduced.size();
    benchmark::DoNotOptimize(reduced.data());
  }
  state.counters["kept"] = static_cast<double>(kept);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// range(1) > 0: keep that many points; < 0: keep n / -range(1) of them.
void BM_byCount(benchmark::State& state) {
  const int64_t n = state.range(0);
  const auto points = noisyWave(n);
  const int64_t count = state.range(1) > 0 ? state.range(1) : n / -state.range(1);
  for (auto _ : state) {
    const auto reduced = DataApproximator::reduceWithDouglasPeukerN(points, count);
    benchmark::DoNotOptimize(reduced.data());
  }
  state.counters["kept"] = static_cast<double>(count);
  state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(BM_distanceScan)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_byTolerance)->Args({1000000, 5})->Args({1000000, 50})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_byCount)
    ->ArgsProduct({{10000, 100000, 1000000}, {-100, -10, 1000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;

  auto time = [&](const std::string& name) {
    const auto it = reporter.times.find(name);
    return it == reporter.times.end() ? NAN : it->second;
  };
  auto perPoint = [](double ms, double n) { return ms * 1e6 / n; };  // ns per point
  const double scan6 = time("BM_distanceScan/1000000");

  std::printf("\nOne distance scan over 10^6 points: %.2f ns per point\n", perPoint(scan6, 1e6));
  for (const char* tol : {"5", "50"}) {
    const double t = time(std::string("BM_byTolerance/1000000/") + tol);
    std::printf("by tolerance %s on 10^6 points: %.1f ms, %.2f ns per point, %.1f scans\n",
                tol[1] ? "5.0" : "0.5", t, perPoint(t, 1e6), t / scan6);
  }
  for (const char* count : {"-100", "-10", "1000"}) {
    const std::string c = count;
    const std::string label = c == "-100" ? "1 % of the points" : c == "-10" ? "10 % of the points" : "1,000 points";
    std::printf("by count, keeping %s:\n", label.c_str());
    double first = NAN;
    for (const char* n : {"10000", "100000", "1000000"}) {
      const double points = std::stod(n);
      const double t = time(std::string("BM_byCount/") + n + "/" + count);
      const double scan = time(std::string("BM_distanceScan/") + n);
      const double ns = perPoint(t, points);
      if (std::isnan(first)) first = ns;
      std::printf("  %8s points: %9.3f ms, %6.2f ns per point (%.2f x the 10^4 figure), %.1f scans\n", n, t, ns,
                  ns / first, t / scan);
    }
  }
  return 0;
}
