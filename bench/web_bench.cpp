// A slider move on the page of `inkcurve serve`: the document takes a new
// smoothing control (setSettings, which builds the correction again and
// corrects the .quad) and both graphs are drawn again as SVG, on the
// README's example files (examples/wedge-21.txt and pt-pd-8ch.quad). Beside
// it, the baseline: the whole `linearize` of the same files with --out, the
// program started as a shell starts it, which is what a user of the command
// waits for; a slider move should cost no more than that (goal: ratio 1 or
// under). The same run in-process, without starting the program, is shown
// too. Also timed alone, to see where the time goes: setSettings by itself,
// and each graph's SVG drawn again (a new setting each time, so that neither
// is kept).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "ProgramRuns.h"
#include "RatioReporter.h"
#include "CurveEdits.h"
#include "WebDocument.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kWedge = INKCURVE_SOURCE_DIR "/examples/wedge-21.txt";
const std::string kQuad = INKCURVE_SOURCE_DIR "/examples/pt-pd-8ch.quad";

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The page with both files open, as after the user dropped them.
cli::WebDocument& page() {
  static cli::WebDocument* document = [] {
    auto* d = new cli::WebDocument;
    d->openMeasurements("wedge-21.txt", slurp(kWedge));
    d->openQuad("pt-pd-8ch.quad", slurp(kQuad));
    return d;
  }();
  return *document;
}

// The slider's value for the i-th move: back and forth over 0...100.
double sliderAt(int64_t i) { return static_cast<double>((i * 7) % 101); }

void BM_linearizeWithOut(benchmark::State& state) {
  static BenchFolder folder("web_bench");
  const std::vector<std::string> args{"linearize", kWedge, kQuad, "--out", (folder.path / "corrected.quad").string()};
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::run(args, out, err) != cli::kExitOk) {
      state.SkipWithError(("linearize failed:\n" + err.str()).c_str());
      break;
    }
  }
}

void BM_programWithOut(benchmark::State& state) {
  static BenchFolder folder("web_bench");
  const std::string out = (folder.path / "corrected.quad").string();
  runProgram(state, {INKCURVE_PROGRAM, "linearize", kWedge, kQuad, "--out", out});
}

void BM_sliderMove(benchmark::State& state) {
  auto& d = page();
  int64_t i = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string json = d.setSettings(sliderAt(i++), std::nullopt, std::nullopt);
    const std::string measurements = d.graphSvg(cli::WebDocument::Graph::measurements);
    const std::string ink = d.graphSvg(cli::WebDocument::Graph::inkCurves);
    if (measurements.empty() || ink.empty()) {
      state.SkipWithError("a graph was not drawn");
      break;
    }
    bytes = json.size() + measurements.size() + ink.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_setSettingsAlone(benchmark::State& state) {
  auto& d = page();
  int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(d.setSettings(sliderAt(i++), std::nullopt, std::nullopt));
}

// One graph drawn again after a new setting, less the setting's own time.
void graphAlone(benchmark::State& state, cli::WebDocument::Graph graph) {
  auto& d = page();
  int64_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    d.setSettings(sliderAt(i++), std::nullopt, std::nullopt);
    state.ResumeTiming();
    benchmark::DoNotOptimize(d.graphSvg(graph));
  }
}

void BM_measurementGraph(benchmark::State& state) { graphAlone(state, cli::WebDocument::Graph::measurements); }
void BM_inkGraph(benchmark::State& state) { graphAlone(state, cli::WebDocument::Graph::inkCurves); }

// A drag of the target's middle point: the manual curve through the points
// made again, the correction and the .quad with it, and both graphs drawn
// again; against the command's run with the same --target-points as a shell
// starts it.
std::string targetAt(int64_t i) { return "0,100 50," + std::to_string(40 + (i * 7) % 21) + " 100,0"; }

void BM_targetDrag(benchmark::State& state) {
  auto& d = page();
  int64_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(d.setTargetPoints(targetAt(i++), true));
    benchmark::DoNotOptimize(d.graphSvg(cli::WebDocument::Graph::measurements));
    benchmark::DoNotOptimize(d.graphSvg(cli::WebDocument::Graph::inkCurves));
  }
  d.setTargetPoints(std::string(cli::kDefaultTargetPoints));
}

void BM_programWithTargetPoints(benchmark::State& state) {
  static BenchFolder folder("web_bench");
  const std::string out = (folder.path / "corrected.quad").string();
  runProgram(state, {INKCURVE_PROGRAM, "linearize", kWedge, kQuad, "--out", out, "--target-points", targetAt(3)});
}

// A tap on the measurement graph (the view's highlighter finding the step,
// the answer's JSON), less the graph's drawing, which follows it.
void BM_tap(benchmark::State& state) {
  auto& d = page();
  std::string error;
  cli::WebDocument::GraphTouch tap{cli::WebDocument::Gesture::tap, 411, 654};
  d.graphSvg(cli::WebDocument::Graph::measurements);
  for (auto _ : state) benchmark::DoNotOptimize(d.touchGraph(cli::WebDocument::Graph::measurements, tap, {}, error));
}

// The measurement graph drawn again after a tap, as the page asks for it.
void BM_redrawAfterTap(benchmark::State& state) {
  auto& d = page();
  std::string error;
  cli::WebDocument::GraphTouch tap{cli::WebDocument::Gesture::tap, 411, 654};
  for (auto _ : state) {
    state.PauseTiming();
    d.touchGraph(cli::WebDocument::Graph::measurements, tap, {}, error);
    state.ResumeTiming();
    benchmark::DoNotOptimize(d.graphSvg(cli::WebDocument::Graph::measurements));
  }
}

BENCHMARK(BM_tap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_redrawAfterTap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizeWithOut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_programWithOut)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_sliderMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_setSettingsAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_measurementGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_inkGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_targetDrag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_programWithTargetPoints)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;
  const auto command = reporter.times.find("BM_linearizeWithOut");
  const auto move = reporter.times.find("BM_sliderMove");
  const auto program = reporter.times.find("BM_programWithOut/real_time");
  std::printf("\n");
  // The goal: a slider move costs no more than the command line's whole
  // run of the same files, as a user waits for it (the program started as a
  // shell starts it). The run in-process, without starting the program, is
  // shown beside it.
  if (program != reporter.times.end() && move != reporter.times.end()) {
    const double ratio = move->second / program->second;
    std::printf("the example: a slider move (setSettings and both SVGs) %.2f ms; linearize with --out as a shell "
                "starts it %.2f ms; %.2f x  (goal 1)%s\n",
                move->second, program->second, ratio, ratio <= 1 ? "" : "  over the goal");
  }
  if (command != reporter.times.end() && move != reporter.times.end())
    std::printf("the same run in-process, without starting the program: %.2f ms; the slider move %.2f x that\n",
                command->second, move->second / command->second);
  const auto drag = reporter.times.find("BM_targetDrag");
  const auto withPoints = reporter.times.find("BM_programWithTargetPoints/real_time");
  if (drag != reporter.times.end() && withPoints != reporter.times.end())
    std::printf("a drag of the target's point (the points, both SVGs) %.2f ms; linearize --target-points as a shell "
                "starts it %.2f ms; %.2f x  (goal 1)%s\n",
                drag->second, withPoints->second, drag->second / withPoints->second,
                drag->second <= withPoints->second ? "" : "  over the goal");
  const auto tap = reporter.times.find("BM_tap"), redraw = reporter.times.find("BM_redrawAfterTap");
  if (tap != reporter.times.end() && redraw != reporter.times.end())
    std::printf("a tap on the measurement graph %.4f ms; the graph drawn again %.2f ms; %.5f x  (goal: a fraction)\n",
                tap->second, redraw->second, tap->second / redraw->second);
  return 0;
}
