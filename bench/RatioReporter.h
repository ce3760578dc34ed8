#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints like the console reporter and collects the time per iteration of
// every run (the median when repeated), in the run's time unit, so that pairs
// can be compared once all have run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> times;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
        times[run.run_name.str()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

// Runs the benchmarks the command line picks, reporting to `reporter`; false
// (and nothing run) when an argument is not understood.
inline bool runBenchmarks(int argc, char** argv, RatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return true;
}
