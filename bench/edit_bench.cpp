// `inkcurve edit` on the README's example (.quad examples/pt-pd-8ch.quad,
// its K channel through three points, then gamma 2, then boost 10): the
// program as a shell starts it, the same command in-process, and the edit
// of the channel alone (editedLevels, what a page calls on each move of a
// control), with each edit timed by itself to see where the time goes. The
// summary gives the three times and how many edits fit in the program's
// run; no goal, a baseline for the page to compare with. Then the page's
// editor screen: a move of a dragged point and of the gamma slider, each the
// change, the state sent back and the graph drawn again as SVG, against the
// program as a shell starts it.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "CurveEdits.h"
#include "WebEditor.h"
#include "ProgramRuns.h"
#include "RatioReporter.h"
#include "linearization/QuadDataFile.h"
#include "platform/files/Files.h"

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

// The editor screen with the example open and K's three edits made, as a
// page holds it while the user works on.
cli::WebEditor& editorScreen() {
  static cli::WebEditor editor;
  static bool made = [] {
    std::string bytes = platform::files::readWholeFile(kQuad).value_or("");
    editor.offer(cli::WebEditor::Source{"pt-pd-8ch.quad", std::make_shared<const std::string>(bytes)}, {});
    std::string error;
    return editor.change({{}, "K", kPoints, 2.0, 10.0}, error).has_value();
  }();
  (void)made;
  return editor;
}

// One move of a control: the change (continuing the one before, as a drag
// does), the state and the graph, as the page asks for them.
void pageMove(benchmark::State& state, const std::function<cli::WebEditor::Change(int64_t)>& move) {
  auto& editor = editorScreen();
  int64_t i = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    std::string error;
    const auto answer = editor.change(move(i++), error);
    if (!answer) {
      state.SkipWithError(error.c_str());
      break;
    }
    bytes = answer->size() + editor.graphSvg().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_pagePointDrag(benchmark::State& state) {
  pageMove(state, [](int64_t i) {
    const std::string y = std::to_string(8 + i % 5);
    return cli::WebEditor::Change{{}, {}, "0,0 40," + y + " 100,60", {}, {}, true};
  });
}

void BM_pageGammaMove(benchmark::State& state) {
  pageMove(state, [](int64_t i) { return cli::WebEditor::Change{{}, {}, {}, 1.5 + 0.1 * (i % 10), {}, true}; });
}

BENCHMARK(BM_programEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_commandEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_editedLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_pointsAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_gammaAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_boostAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_pagePointDrag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pageGammaMove)->Unit(benchmark::kMillisecond);

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
  for (const char* move : {"BM_pagePointDrag", "BM_pageGammaMove"}) {
    const auto page = reporter.times.find(move);
    if (program != reporter.times.end() && page != reporter.times.end())
      std::printf("the editor screen, %s (change, state and SVG graph): %.2f ms, %.2f times the program's run\n",
                  std::string(move).find("Point") != std::string::npos ? "a point dragged" : "the gamma moved",
                  page->second, page->second / program->second);
  }
  return 0;
}
