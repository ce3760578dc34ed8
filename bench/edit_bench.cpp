// `inkcurve edit` on the README's example (.quad examples/pt-pd-8ch.quad,
// its K channel through three points, then gamma 2, then boost 10): the
// program as a shell starts it, the same command in-process, and the edit
// of the channel alone (editedLevels, what a page calls on each move of a
// control), with each edit timed by itself to see where the time goes. The
// summary gives the three times and how many edits fit in the program's
// run; no goal, a baseline for the page to compare with.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "CurveEdits.h"
#include "ProgramRuns.h"
#include "RatioReporter.h"
#include "linearization/QuadDataFile.h"

namespace {

const std::string kQuad = INKCURVE_SOURCE_DIR "/examples/pt-pd-8ch.quad";
const char* const kPoints = "0,0 40,10 100,60";

BenchFolder& folder() {
  static BenchFolder f("edit_bench");
  return f;
}

std::vector<std::string> editArgs() {
  return {"edit",    kQuad, "--channel", "K",  "--points", kPoints,
          "--gamma", "2",   "--boost",   "10", "--out",    (folder().path / "edited.quad").string()};
}

// K's levels as the file holds them.
const std::vector<double>& kLevels() {
  static const std::vector<double> levels = [] {
    auto quad = linearization::QuadDataFile::fromFile(kQuad);
    quad->readQuadFile(quad->rawQuadData);
    return quad->inputQuadCurveArray->front();
  }();
  return levels;
}

void BM_programEdit(benchmark::State& state) {
  auto args = editArgs();
  args.insert(args.begin(), INKCURVE_PROGRAM);
  runProgram(state, args);
}

void BM_commandEdit(benchmark::State& state) {
  const auto args = editArgs();
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::run(args, out, err) != cli::kExitOk) {
      state.SkipWithError(("edit failed:\n" + err.str()).c_str());
      break;
    }
  }
}

void edit(benchmark::State& state, const cli::ChannelEdits& edits) {
  const auto& levels = kLevels();
  for (auto _ : state) {
    std::string error;
    auto edited = cli::editedLevels(levels, edits, error);
    if (!edited) {
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(edited);
  }
}

std::vector<cli::CurvePoint> points() {
  std::string error;
  return *cli::parseCurvePoints(kPoints, error);
}

void BM_editedLevels(benchmark::State& state) { edit(state, {points(), 2.0, 10.0}); }
void BM_pointsAlone(benchmark::State& state) { edit(state, {points(), std::nullopt, std::nullopt}); }
void BM_gammaAlone(benchmark::State& state) { edit(state, {std::nullopt, 2.0, std::nullopt}); }
void BM_boostAlone(benchmark::State& state) { edit(state, {std::nullopt, std::nullopt, 10.0}); }

BENCHMARK(BM_programEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_commandEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_editedLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_pointsAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_gammaAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boostAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;
  const auto program = reporter.times.find("BM_programEdit/real_time");
  const auto command = reporter.times.find("BM_commandEdit");
  const auto levels = reporter.times.find("BM_editedLevels");
  std::printf("\n");
  if (program != reporter.times.end() && command != reporter.times.end() && levels != reporter.times.end())
    std::printf("the example's edit (K: points, gamma 2, boost 10): the program as a shell starts it %.2f ms, "
                "in-process %.2f ms, the channel's edit alone %.1f us (%.0f of them in one run of the program)\n",
                program->second, command->second, levels->second, program->second * 1000 / levels->second);
  return 0;
}
