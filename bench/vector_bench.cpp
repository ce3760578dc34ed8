// Sum, mean, add and pow of double arrays: VectorMath next to the same
// operation written with Eigen array expressions, at 10^3, 10^5 and 10^7
// elements. After the runs a summary prints ours/Eigen for each pair with
// the goal (1.2 for sum, mean and add, 1.5 for pow).

#include <benchmark/benchmark.h>

#include <Eigen/Core>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "VectorMath/Arithmetic.h"
#include "VectorMath/Statistics.h"

namespace {

constexpr double kGamma = 1.0 / 2.2;

std::vector<double> randomArray(std::size_t n, unsigned seed) {
  std::mt19937_64 g(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::vector<double> v(n);
  for (auto& x : v) x = u(g);
  return v;
}

Eigen::Map<const Eigen::ArrayXd> asEigen(const std::vector<double>& v) {
  return Eigen::Map<const Eigen::ArrayXd>(v.data(), static_cast<Eigen::Index>(v.size()));
}

void setItems(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_sum_Ours(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  for (auto _ : state) benchmark::DoNotOptimize(VectorMath::sum(a));
  setItems(state);
}
void BM_sum_Eigen(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  for (auto _ : state) benchmark::DoNotOptimize(asEigen(a).sum());
  setItems(state);
}

void BM_mean_Ours(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  for (auto _ : state) benchmark::DoNotOptimize(VectorMath::mean(a));
  setItems(state);
}
void BM_mean_Eigen(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  for (auto _ : state) benchmark::DoNotOptimize(asEigen(a).mean());
  setItems(state);
}

// Both return a freshly allocated array.
void BM_add_Ours(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  auto b = randomArray(state.range(0), 2);
  for (auto _ : state) {
    auto c = VectorMath::add(a, b);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  setItems(state);
}
void BM_add_Eigen(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  auto b = randomArray(state.range(0), 2);
  for (auto _ : state) {
    Eigen::ArrayXd c = asEigen(a) + asEigen(b);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  setItems(state);
}

void BM_pow_Ours(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  for (auto _ : state) {
    auto c = VectorMath::pow(a, kGamma);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  setItems(state);
}
void BM_pow_Eigen(benchmark::State& state) {
  auto a = randomArray(state.range(0), 1);
  for (auto _ : state) {
    Eigen::ArrayXd c = asEigen(a).pow(kGamma);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  setItems(state);
}

#define PAIR(op)                                                     \
  BENCHMARK(BM_##op##_Ours)->Arg(1000)->Arg(100000)->Arg(10000000); \
  BENCHMARK(BM_##op##_Eigen)->Arg(1000)->Arg(100000)->Arg(10000000)

PAIR(sum);
PAIR(mean);
PAIR(add);
PAIR(pow);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;

  std::printf("\nours / Eigen (goal):\n");
  const std::pair<const char*, double> goals[] = {{"sum", 1.2}, {"mean", 1.2}, {"add", 1.2}, {"pow", 1.5}};
  for (const auto& [op, goal] : goals) {
    for (const char* size : {"1000", "100000", "10000000"}) {
      std::string tail = std::string("/") + size;
      auto ours = reporter.times.find(std::string("BM_") + op + "_Ours" + tail);
      auto eigen = reporter.times.find(std::string("BM_") + op + "_Eigen" + tail);
      if (ours == reporter.times.end() || eigen == reporter.times.end()) continue;
      double ratio = ours->second / eigen->second;
      std::printf("  %-5s %9s  %5.2f  (%.1f)%s\n", op, size, ratio, goal, ratio <= goal ? "" : "  over the goal");
    }
  }
  return 0;
}
