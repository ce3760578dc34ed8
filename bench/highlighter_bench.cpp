// The bar-line highlighter's lookup (a touch point to the highlight of the
// nearest value) on a line chart view of one data set of 10^6 entries,
// next to std::lower_bound of the same x values on a plain array of the
// entries' x. Both look up the same 4096 touches, spread over the whole
// range, in turn. After the runs a summary prints the time per lookup of
// both and their ratio with its goal (20; and under 5 us on an idle
// machine).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Views/LineChartView.h"
#include "RatioReporter.h"

namespace {

using chart::Point;

constexpr int kEntries = 1'000'000;
constexpr size_t kTouches = 4096;

struct Chart {
  Chart() {
    std::vector<chart::EntryPtr> entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
      xs.push_back(i * 0.5);
      entries.push_back(std::make_shared<chart::ChartDataEntry>(xs.back(), 50 + 40 * std::sin(i * 1e-4)));
    }
    view = chart::LineChartView::create(chart::Rect(0, 0, 600, 400));
    view->setData(std::make_shared<chart::LineChartData>(std::make_shared<chart::LineChartDataSet>(entries, "s")));
    // Zoomed in far enough that a touch tells entries apart.
    view->zoom(1000, 1, 300, 200);
    const auto& transformer = *view->getTransformer(chart::AxisDependency::left);
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> index(0, kEntries - 1);
    for (size_t i = 0; i < kTouches; ++i) {
      const int at = index(random);
      values.push_back(xs[static_cast<size_t>(at)] + 0.1);
      // A touch 3 points right of and below the entry, wherever the zoom
      // puts it: the lookup does the same work on or off screen.
      const Point p = transformer.pixelForValues(values.back(), 50 + 40 * std::sin(at * 1e-4));
      touches.push_back(Point{p.x + 3, p.y + 3});
    }
  }
  std::vector<double> xs;
  std::vector<double> values;
  std::vector<Point> touches;
  std::shared_ptr<chart::LineChartView> view;
};

Chart& chartOnce() {
  static Chart c;
  return c;
}

void BM_highlighterLookup(benchmark::State& state) {
  Chart& c = chartOnce();
  chart::IHighlighter& highlighter = *c.view->highlighter();
  size_t i = 0;
  size_t found = 0;
  for (auto _ : state) {
    const Point p = c.touches[i++ % kTouches];
    const auto h = highlighter.getHighlight(p.x, p.y);
    found += h != nullptr;
    benchmark::DoNotOptimize(h);
  }
  state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

void BM_lowerBoundOfX(benchmark::State& state) {
  Chart& c = chartOnce();
  size_t i = 0;
  for (auto _ : state) {
    const auto it = std::lower_bound(c.xs.begin(), c.xs.end(), c.values[i++ % kTouches]);
    benchmark::DoNotOptimize(it);
  }
}

BENCHMARK(BM_highlighterLookup)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_lowerBoundOfX)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;
  auto ours = reporter.times.find("BM_highlighterLookup");
  auto plain = reporter.times.find("BM_lowerBoundOfX");
  if (ours == reporter.times.end() || plain == reporter.times.end()) return 0;
  const double ratio = ours->second / plain->second;
  std::printf("\nhighlighter lookup at 10^6 entries: %.0f ns; std::lower_bound: %.0f ns\n", ours->second,
              plain->second);
  std::printf("highlighter / lower_bound: %.1f  (goal 20)%s; lookup %s 5 us\n", ratio,
              ratio <= 20 ? "" : "  over the goal", ours->second < 5000 ? "under" : "over");
  return 0;
}
