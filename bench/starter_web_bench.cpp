// A boost-slider move on the starter screen of `inkcurve serve`'s page: the
// screen takes a new ink-limit boost (the starter curve built again from the
// table, with its summary, warnings and .quad) and its ink graph is drawn
// again as SVG. Beside it, `inkcurve starter` with the same choices as a
// shell starts it, with --out alone and with --plot too (what a user of the
// command waits for to see the same curve), and in-process with --out.
// Goal: a slider move costs no more than the program's run (ratio 1 or under).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "ProgramRuns.h"
#include "RatioReporter.h"
#include "WebStarter.h"

extern char** environ;

namespace {

const std::vector<std::string> kChoices{"--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer",
                                        "--ink-limit", "10", "--yellow", "5", "--total-ink", "0.1"};

std::vector<std::string> starterArgs(const BenchFolder& folder, bool plot) {
  std::vector<std::string> args{"starter"};
  args.insert(args.end(), kChoices.begin(), kChoices.end());
  args.insert(args.end(), {"--out", (folder.path / "starter.quad").string()});
  if (plot) args.insert(args.end(), {"--plot", (folder.path / "starter.png").string()});
  return args;
}

void program(benchmark::State& state, bool plot) {
  static BenchFolder folder("starter_web_bench");
  auto args = starterArgs(folder, plot);
  args.insert(args.begin(), INKCURVE_PROGRAM);
  runProgram(state, args);
}

void BM_programStarter(benchmark::State& state) { program(state, false); }
void BM_programStarterWithPlot(benchmark::State& state) { program(state, true); }

void BM_starterInProcess(benchmark::State& state) {
  static BenchFolder folder("starter_web_bench");
  const auto args = starterArgs(folder, false);
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::run(args, out, err) != cli::kExitOk) {
      state.SkipWithError(("starter failed:\n" + err.str()).c_str());
      break;
    }
  }
}

void BM_boostSliderMove(benchmark::State& state) {
  cli::WebStarter screen;
  std::string error;
  if (!screen.change({"P5000/P7000/P9000", "Carbon Transfer", 10, 5, 0.1}, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  int64_t i = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    // The slider's value for the i-th move: back and forth over -99...100.
    const double inkLimit = static_cast<double>((i++ * 7) % 200 - 99);
    const auto json = screen.change({{}, {}, inkLimit, {}, {}}, error);
    const std::string svg = screen.graphSvg();
    if (!json || svg.empty()) {
      state.SkipWithError("the move was refused or its graph not drawn");
      break;
    }
    bytes = json->size() + svg.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_programStarter)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_programStarterWithPlot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_starterInProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_boostSliderMove)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;
  const auto move = reporter.times.find("BM_boostSliderMove");
  if (move == reporter.times.end()) return 0;
  std::printf("\n");
  for (const char* name : {"BM_programStarter/real_time", "BM_programStarterWithPlot/real_time", "BM_starterInProcess"}) {
    const auto other = reporter.times.find(name);
    if (other == reporter.times.end()) continue;
    const double ratio = move->second / other->second;
    std::printf("a boost-slider move (setting and SVG) %.2f ms; %s %.2f ms; %.2f x%s\n", move->second, name,
                other->second, ratio, ratio <= 1 ? "" : "  (over 1)");
  }
  return 0;
}
