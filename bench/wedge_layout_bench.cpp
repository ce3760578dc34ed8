// The whole `linearize` command, in-process, on a 256-step wedge measured 7
// times (1,792 readings, as LAB-only CGATS, so that the layout has to be
// found from the readings: each step's readings together, or pass after
// pass), next to the same wedge measured once (256 readings). Every run
// corrects examples/pt-pd-8ch.quad and writes the .quad to a temporary
// folder. After the runs a summary prints the time of each and the ratio of
// each repeated wedge to the single one, with its goal (1.5). Beside them, a
// list of 55,440 readings of one reading a step, a count that every number
// of samples from 1 to 12 divides (so that every layout is judged), against
// one of 55,439, a prime (one reading a step is the only layout): goal 2.
// On a busy
// machine, interleave repeated runs so that the load falls on all three:
//   wedge_layout_bench --benchmark_repetitions=15 --benchmark_min_time=0.2
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RatioReporter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSteps = 256;
constexpr int kTimes = 7;
constexpr double kNoise = 0.05;  // L*, a seventh of the spacing of neighbouring steps

enum class Layout { once, together, passes };

// The readings of the wedge as a CGATS file: L* falling evenly from paper
// white (95) to 5, each reading off by a normal spread of kNoise (seeded).
std::string wedgeFile(Layout layout) {
  std::mt19937 random(45);
  std::normal_distribution<double> noise(0.0, kNoise);
  std::vector<int> stepOfReading;
  const int times = layout == Layout::once ? 1 : kTimes;
  for (int k = 0; k < kSteps * times; ++k)
    stepOfReading.push_back(layout == Layout::passes ? k % kSteps : k / times);
  std::ostringstream s;
  s << "CGATS.17\nNUMBER_OF_FIELDS\t4\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B\nEND_DATA_FORMAT\n"
    << "NUMBER_OF_SETS\t" << stepOfReading.size() << "\nBEGIN_DATA\n";
  char row[96];
  for (std::size_t k = 0; k < stepOfReading.size(); ++k) {
    const double x = static_cast<double>(stepOfReading[k]) / (kSteps - 1);
    std::snprintf(row, sizeof row, "%zu\t%.2f\t%.2f\t%.2f\n", k + 1, 95.0 - 90.0 * x + noise(random),
                  0.2 + noise(random), 1.0 - 0.5 * x + noise(random));
    s << row;
  }
  s << "END_DATA\n";
  return s.str();
}

// `count` readings of a wedge of as many steps, one reading a step, L*
// falling evenly from 95 to 5 with the same noise.
std::string manyReadings(int count) {
  std::mt19937 random(46);
  std::normal_distribution<double> noise(0.0, kNoise);
  std::ostringstream s;
  s << "CGATS.17\nNUMBER_OF_FIELDS\t4\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B\nEND_DATA_FORMAT\n"
    << "NUMBER_OF_SETS\t" << count << "\nBEGIN_DATA\n";
  char row[96];
  for (int k = 0; k < count; ++k) {
    std::snprintf(row, sizeof row, "%d\t%.2f\t0.20\t1.00\n", k + 1, 95.0 - 90.0 * k / (count - 1) + noise(random));
    s << row;
  }
  s << "END_DATA\n";
  return s.str();
}

struct Files {
  Files() {
    std::string pattern = (fs::temp_directory_path() / "wedge_layout_bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      std::perror("wedge_layout_bench: no temporary folder");
      std::exit(1);
    }
    dir = pattern;
    const auto write = [this](const std::string& name, const std::string& text) {
      std::ofstream(dir / name, std::ios::binary) << text;
      return (dir / name).string();
    };
    once = write("once.txt", wedgeFile(Layout::once));
    together = write("together.txt", wedgeFile(Layout::together));
    passes = write("passes.txt", wedgeFile(Layout::passes));
    many = write("many.txt", manyReadings(55440));
    prime = write("prime.txt", manyReadings(55439));
    out = (dir / "corrected.quad").string();
  }
  ~Files() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
  fs::path dir;
  std::string once, together, passes, many, prime, out;
};

Files& files() {
  static Files f;
  return f;
}

void linearize(benchmark::State& state, const std::string& readings, const std::string& expected) {
  const std::vector<std::string> args{"linearize", readings, INKCURVE_SOURCE_DIR "/examples/pt-pd-8ch.quad", "--out",
                                      files().out};
  for (auto _ : state) {
    std::ostringstream out, err;
    const int status = cli::run(args, out, err);
    if (status != cli::kExitOk || out.str().find(expected) == std::string::npos) {
      state.SkipWithError(("linearize did not read the wedge as expected:\n" + out.str() + err.str()).c_str());
      break;
    }
  }
}

void BM_linearizeOnce(benchmark::State& state) { linearize(state, files().once, "readings: 256 steps"); }
void BM_linearizeTogether(benchmark::State& state) {
  linearize(state, files().together, "a 256-step wedge measured 7 times, each step's readings together");
}
void BM_linearizePasses(benchmark::State& state) {
  linearize(state, files().passes, "a 256-step wedge measured 7 times, pass after pass");
}

void BM_linearizeManyReadings(benchmark::State& state) { linearize(state, files().many, "readings: 55440 steps"); }
void BM_linearizePrimeReadings(benchmark::State& state) { linearize(state, files().prime, "readings: 55439 steps"); }

BENCHMARK(BM_linearizeOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizeManyReadings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizePrimeReadings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizeTogether)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizePasses)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;
  std::printf("\n");
  const auto once = reporter.times.find("BM_linearizeOnce");
  if (once != reporter.times.end())
    std::printf("linearize, a 256-step wedge measured once (256 readings): %.2f ms\n", once->second);
  for (const auto& [name, label] : {std::pair{"BM_linearizeTogether", "each step's readings together"},
                                    std::pair{"BM_linearizePasses", "pass after pass"}}) {
    const auto repeated = reporter.times.find(name);
    if (once == reporter.times.end() || repeated == reporter.times.end()) continue;
    const double ratio = repeated->second / once->second;
    std::printf("measured 7 times (1,792 readings), %s: %.2f ms, %.2f x once  (goal 1.5)%s\n", label,
                repeated->second, ratio, ratio <= 1.5 ? "" : "  over the goal");
  }
  const auto many = reporter.times.find("BM_linearizeManyReadings");
  const auto prime = reporter.times.find("BM_linearizePrimeReadings");
  if (many != reporter.times.end() && prime != reporter.times.end()) {
    const double ratio = many->second / prime->second;
    std::printf("55,440 readings (every layout judged): %.2f ms; 55,439 (a prime): %.2f ms; %.2f x  (goal 2)%s\n",
                many->second, prime->second, ratio, ratio <= 2 ? "" : "  over the goal");
  }
  return 0;
}
