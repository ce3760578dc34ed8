// What an ink-curve graph rebuilds on every change: the eight channels of a
// starter curve (256 levels each) become eight LineChartDataSets of entries
// in percent against input step, gathered in one LineChartData, which
// computes the extremes (goal: under 200 µs for the whole rebuild). The
// baseline turns the same levels into plain arrays of points with their
// extremes, the least any chart would have to do.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "RatioReporter.h"
#include "platform/graphics/Geometry.h"
#include "starter_curves/StarterCurveTables.h"

namespace {

using starter_curves::InkCurves;

const InkCurves& curves() { return starter_curves::starterCurveTables().k8Standard; }

std::shared_ptr<chart::LineChartData> lineDataOf(const InkCurves& channels) {
  std::vector<chart::DataSetPtr> sets;
  sets.reserve(channels.size());
  for (const auto& levels : channels) {
    std::vector<chart::EntryPtr> entries;
    entries.reserve(levels.size());
    for (size_t step = 0; step < levels.size(); ++step) {
      entries.push_back(std::make_shared<chart::ChartDataEntry>(double(step) / 2.55, levels[step] / 655.35));
    }
    sets.push_back(std::make_shared<chart::LineChartDataSet>(std::move(entries), "channel"));
  }
  return std::make_shared<chart::LineChartData>(std::move(sets));
}

void BM_rebuildEightLineSets(benchmark::State& state) {
  const InkCurves& channels = curves();
  for (auto _ : state) {
    auto data = lineDataOf(channels);
    benchmark::DoNotOptimize(data->yMax());
  }
}

struct PlainLine {
  std::vector<platform::graphics::Point> points;
  double xMin, xMax, yMin, yMax;
};

void BM_plainArraysBaseline(benchmark::State& state) {
  const InkCurves& channels = curves();
  for (auto _ : state) {
    std::vector<PlainLine> lines;
    lines.reserve(channels.size());
    for (const auto& levels : channels) {
      PlainLine line{{}, 1e308, -1e308, 1e308, -1e308};
      line.points.reserve(levels.size());
      for (size_t step = 0; step < levels.size(); ++step) {
        const platform::graphics::Point p{double(step) / 2.55, levels[step] / 655.35};
        line.points.push_back(p);
        if (p.x < line.xMin) line.xMin = p.x;
        if (p.x > line.xMax) line.xMax = p.x;
        if (p.y < line.yMin) line.yMin = p.y;
        if (p.y > line.yMax) line.yMax = p.y;
      }
      lines.push_back(std::move(line));
    }
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_rebuildEightLineSets)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_plainArraysBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;

  const auto ours = reporter.times.find("BM_rebuildEightLineSets");
  const auto plain = reporter.times.find("BM_plainArraysBaseline");
  if (ours == reporter.times.end() || plain == reporter.times.end()) return 0;
  std::printf("\nrebuilding eight line sets of %zu entries: %.1f us (goal under 200)%s; plain arrays %.1f us; "
              "ratio %.1f\n",
              curves().front().size(), ours->second, ours->second < 200 ? "" : "  over the goal", plain->second,
              ours->second / plain->second);
  return 0;
}
