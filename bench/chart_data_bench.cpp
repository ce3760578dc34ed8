// The hot paths of the chart's entry-list data set: the x search that the
// renderers run twice per data set on every frame, the full extremes scan
// after a data change, and the y extremes over a visible window.
//
// entryIndex runs with random x for each rounding at 10^3..10^6 entries and is
// fitted to O(log n) (goal: under 1 µs per call at 10^6); std::lower_bound
// over a plain array of the same x values is the baseline. calcMinMax is
// reported in ns per entry at 10^6 (goal: at most 10), next to a plain
// min/max scan of two double arrays; calcMinMaxY covers a 1 % window.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Chart/Data/ChartDataSet.h"

namespace {

using chart::ChartDataSet;
using chart::ChartDataSetRounding;

constexpr double noY = std::numeric_limits<double>::quiet_NaN();

// n entries at x = 0, 1, ..., n - 1 with random y, made in order so they lie
// in memory roughly as an application's would.
std::shared_ptr<ChartDataSet> makeSet(int64_t n) {
  std::mt19937_64 g(7);
  std::uniform_real_distribution<double> y(0.0, 100.0);
  std::vector<chart::EntryPtr> entries;
  entries.reserve(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) entries.push_back(std::make_shared<chart::ChartDataEntry>(double(i), y(g)));
  return std::make_shared<ChartDataSet>(std::move(entries));
}

// A fixed cycle of random search values within the set's x range.
std::vector<double> searchValues(int64_t n) {
  std::mt19937_64 g(11);
  std::uniform_real_distribution<double> x(-0.5, double(n) - 0.5);
  std::vector<double> values(4096);
  for (auto& v : values) v = x(g);
  return values;
}

void perItem(benchmark::State& state, int64_t itemsPerIteration) {
  state.counters["per_item"] = benchmark::Counter(double(state.iterations()) * double(itemsPerIteration),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <ChartDataSetRounding rounding>
void BM_entryIndex(benchmark::State& state) {
  const auto set = makeSet(state.range(0));
  const auto xs = searchValues(state.range(0));
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(set->entryIndex(xs[k], noY, rounding));
    k = (k + 1) & 4095;
  }
  state.SetComplexityN(state.range(0));
}

void BM_lowerBoundBaseline(benchmark::State& state) {
  std::vector<double> plain(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = double(i);
  const auto xs = searchValues(state.range(0));
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::lower_bound(plain.begin(), plain.end(), xs[k]));
    k = (k + 1) & 4095;
  }
  state.SetComplexityN(state.range(0));
}

void BM_calcMinMax(benchmark::State& state) {
  const auto set = makeSet(state.range(0));
  for (auto _ : state) {
    set->calcMinMax();
    benchmark::DoNotOptimize(set->yMax());
  }
  perItem(state, state.range(0));
}

void BM_plainMinMaxBaseline(benchmark::State& state) {
  const auto set = makeSet(state.range(0));
  std::vector<double> x, y;
  for (const auto& e : *set) {
    x.push_back(e->x());
    y.push_back(e->y());
  }
  for (auto _ : state) {
    double xMin = std::numeric_limits<double>::max(), xMax = -xMin, yMin = xMin, yMax = -xMin;
    for (size_t i = 0; i < x.size(); ++i) {
      if (x[i] < xMin) xMin = x[i];
      if (x[i] > xMax) xMax = x[i];
      if (y[i] < yMin) yMin = y[i];
      if (y[i] > yMax) yMax = y[i];
    }
    benchmark::DoNotOptimize(xMin + xMax + yMin + yMax);
  }
  perItem(state, state.range(0));
}

// The y extremes over 1 % of the x range, the window moving with each call
// as a pan would move it.
void BM_calcMinMaxY_1percent(benchmark::State& state) {
  const int64_t n = state.range(0);
  const auto set = makeSet(n);
  const double width = double(n) / 100;
  const auto starts = searchValues(n - static_cast<int64_t>(width));
  size_t k = 0;
  for (auto _ : state) {
    set->calcMinMaxY(starts[k], starts[k] + width);
    benchmark::DoNotOptimize(set->yMax());
    k = (k + 1) & 4095;
  }
}

// An entry that counts how often its x is read, for the reads-per-search
// figure of the summary (not timed).
class CountingEntry : public chart::ChartDataEntry {
 public:
  using ChartDataEntry::ChartDataEntry;
  static inline int64_t reads = 0;
  double x() const override {
    ++reads;
    return ChartDataEntry::x();
  }
};

// x reads per entryIndex call, over the same random search values.
double xReadsPerSearch(int64_t n, ChartDataSetRounding rounding) {
  std::vector<chart::EntryPtr> entries;
  for (int64_t i = 0; i < n; ++i) entries.push_back(std::make_shared<CountingEntry>(double(i), 0.0));
  const ChartDataSet set(std::move(entries));
  const auto xs = searchValues(n);
  CountingEntry::reads = 0;
  for (double x : xs) benchmark::DoNotOptimize(set.entryIndex(x, noY, rounding));
  return double(CountingEntry::reads) / double(xs.size());
}

#define SIZES RangeMultiplier(10)->Range(1000, 1000000)
BENCHMARK(BM_entryIndex<ChartDataSetRounding::closest>)->SIZES->Complexity(benchmark::oLogN);
BENCHMARK(BM_entryIndex<ChartDataSetRounding::up>)->SIZES->Complexity(benchmark::oLogN);
BENCHMARK(BM_entryIndex<ChartDataSetRounding::down>)->SIZES->Complexity(benchmark::oLogN);
BENCHMARK(BM_lowerBoundBaseline)->SIZES->Complexity(benchmark::oLogN);
BENCHMARK(BM_calcMinMax)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_plainMinMaxBaseline)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calcMinMaxY_1percent)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Keeps the time per iteration of every run for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> nanoseconds;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration) {
        nanoseconds[run.run_name.str()] = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double at(const std::string& name) const {
    const auto it = nanoseconds.find(name);
    return it == nanoseconds.end() ? 0 : it->second;
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nentryIndex, ns per call (baseline std::lower_bound on a double array), and x reads per call:\n");
  std::printf("  %-8s %9s %9s %9s %9s %12s %8s\n", "n", "closest", "up", "down", "baseline", "reads", "log2 n");
  for (const int64_t n : {1000, 10000, 100000, 1000000}) {
    const std::string tail = "/" + std::to_string(n);
    std::printf("  %-8lld %9.1f %9.1f %9.1f %9.1f %12.1f %8.1f\n", static_cast<long long>(n),
                reporter.at("BM_entryIndex<ChartDataSetRounding::closest>" + tail),
                reporter.at("BM_entryIndex<ChartDataSetRounding::up>" + tail),
                reporter.at("BM_entryIndex<ChartDataSetRounding::down>" + tail),
                reporter.at("BM_lowerBoundBaseline" + tail), xReadsPerSearch(n, ChartDataSetRounding::closest),
                std::log2(double(n)));
  }
  const double full = reporter.at("BM_calcMinMax/1000000");
  const double plain = reporter.at("BM_plainMinMaxBaseline/1000000");
  const double window = reporter.at("BM_calcMinMaxY_1percent/1000000");
  std::printf("calcMinMax at 10^6: %.2f ns per entry (goal <= 10; plain arrays %.2f)\n", full / 1e6, plain / 1e6);
  std::printf("calcMinMaxY over 1 %% at 10^6: %.1f us per call, %.1f %% of a full calcMinMax\n", window / 1e3,
              full > 0 ? 100 * window / full : 0.0);
  return 0;
}
