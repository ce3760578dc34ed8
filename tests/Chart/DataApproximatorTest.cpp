#include <gtest/gtest.h>

#include <pthread.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "Chart/ChartExternalNames.h"
#include "support/GeometryExpectations.h"

using chart::ChartDataApproximator;
using Point = chart::DataApproximator::Point;

namespace {

std::vector<Point> pick(const std::vector<Point>& points, const std::vector<int>& indices) {
  std::vector<Point> picked;
  for (const int i : indices) picked.push_back(points[static_cast<size_t>(i)]);
  return picked;
}

const std::vector<Point> collinear = {{0, 0}, {1, 0.5}, {2, 1}, {3, 1.5}, {4, 2}, {6, 3}};
const std::vector<Point> peak = {{0, 0}, {1, 1}, {2, 0}};
// Points 1 and 2 lie equally far (1) from the line joining the ends.
const std::vector<Point> plateau = {{0, 0}, {1, 1}, {2, 1}, {3, 0}};
// The top (2) first; then point 1 and point 3 lie 2 / sqrt(13) and
// 1 / sqrt(13) from the lines of their halves.
const std::vector<Point> leftHeavy = {{0, 0}, {1, 2.5}, {2, 3}, {3, 1}, {4, 0}};
// Like leftHeavy, but points 1 and 3 lie equally far (1 / sqrt(13)).
const std::vector<Point> balanced = {{0, 0}, {1, 1}, {2, 3}, {3, 1}, {4, 0}};

// A unit square traced from (0, 0) and back to it, four points a side: the
// outline's ends coincide, so the first span has no line.
std::vector<Point> closedSquare() {
  std::vector<Point> points;
  const Point corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
  for (int side = 0; side < 4; ++side)
    for (int k = 0; k < 4; ++k) {
      const Point a = corners[side], b = corners[side + 1];
      points.push_back({a.x + (b.x - a.x) * k / 4, a.y + (b.y - a.y) * k / 4});
    }
  points.push_back({0, 0});
  return points;
}

TEST(DataApproximator, ByTolerance) {
  const auto square = closedSquare();
  const struct {
    const char* name;
    std::vector<Point> points;
    double tolerance;
    std::vector<int> kept;
  } cases[] = {
      {"collinear", collinear, 0.01, {0, 5}},
      {"peak below the tolerance", peak, 0.5, {0, 1, 2}},
      {"peak above the tolerance", peak, 2, {0, 2}},
      {"peak exactly at the tolerance", peak, 1, {0, 2}},
      {"tie picks the first point", plateau, 0.5, {0, 1, 3}},
      {"both halves refined", balanced, 0.1, {0, 1, 2, 3, 4}},
      {"closed square keeps its corners", square, 0.1, {0, 4, 8, 12, 16}},
      {"closed square, loose", square, 1, {0, 8, 16}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChartDataApproximator::reduceWithDouglasPeuker(c.points, c.tolerance), pick(c.points, c.kept))
        << c.name;

  // Unchanged: a tolerance of 0 or less, or fewer than 3 points.
  for (const double tolerance : {0.0, -1.0}) EXPECT_EQ(ChartDataApproximator::reduceWithDouglasPeuker(peak, tolerance), peak);
  const std::vector<Point> two = {{0, 0}, {5, 5}}, one = {{1, 1}}, none;
  for (const auto& points : {two, one, none}) EXPECT_EQ(ChartDataApproximator::reduceWithDouglasPeuker(points, 1), points);
}

TEST(DataApproximator, ByCount) {
  const auto square = closedSquare();
  const struct {
    const char* name;
    std::vector<Point> points;
    int64_t count;
    std::vector<int> kept;
  } cases[] = {
      {"collinear, 3 asked", collinear, 3, {0, 5}},
      {"collinear, 5 asked", collinear, 5, {0, 5}},
      {"3 of 5: the ends and the farthest", balanced, 3, {0, 2, 4}},
      {"4 of 5: the farther of the two halves", leftHeavy, 4, {0, 1, 2, 4}},
      {"4 of 5: of equal halves, the one split off last", balanced, 4, {0, 2, 3, 4}},
      {"tie picks the first point", plateau, 3, {0, 1, 3}},
      {"closed square, 5 asked", square, 5, {0, 4, 8, 12, 16}},
      {"closed square, 4 asked", square, 4, {0, 8, 12, 16}},
      {"closed square, 9 asked: nothing left off the sides", square, 9, {0, 4, 8, 12, 16}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChartDataApproximator::reduceWithDouglasPeukerN(c.points, c.count), pick(c.points, c.kept)) << c.name;

  // Unchanged: a count below 3, or no more points than the count.
  for (const int64_t count : {int64_t{5}, int64_t{6}, int64_t{2}, int64_t{-1}, INT64_MAX})
    EXPECT_EQ(ChartDataApproximator::reduceWithDouglasPeukerN(balanced, count), balanced) << count;
  EXPECT_EQ(ChartDataApproximator::reduceWithDouglasPeukerN(collinear, 2), collinear) << "not reduced to its ends";
}

// A million points on a half circle: every dropped point lies within the
// tolerance of the kept chord that spans it.
TEST(DataApproximator, MillionPointArc) {
  constexpr int n = 1000000;
  std::vector<Point> arc(n);
  for (int i = 0; i < n; ++i) {
    const double a = std::numbers::pi * i / (n - 1);
    arc[static_cast<size_t>(i)] = {100 * std::cos(a), 100 * std::sin(a)};
  }
  const double tolerance = 0.01;
  const auto kept = ChartDataApproximator::reduceWithDouglasPeuker(arc, tolerance);
  ASSERT_GE(kept.size(), 3u);
  EXPECT_EQ(kept.front(), arc.front());
  EXPECT_EQ(kept.back(), arc.back());
  size_t next = 1;  // index in `kept` of the end of the current chord
  double worst = 0;
  for (size_t i = 1; i + 1 < arc.size(); ++i) {
    if (arc[i] == kept[next]) {
      ++next;
      continue;
    }
    const Point s = kept[next - 1], e = kept[next];
    const double cross = (e.x - s.x) * (arc[i].y - s.y) - (e.y - s.y) * (arc[i].x - s.x);
    worst = std::max(worst, std::abs(cross) / std::hypot(e.x - s.x, e.y - s.y));
  }
  EXPECT_EQ(next, kept.size() - 1);  // every kept point was met, in order
  EXPECT_LE(worst, tolerance);
  EXPECT_GT(worst, tolerance / 2);  // and not kept more than needed

  const auto thousand = ChartDataApproximator::reduceWithDouglasPeukerN(arc, 1000);
  EXPECT_EQ(thousand.size(), 1000u);
}

// A zigzag whose swings grow slowly: each span's farthest point is the one
// next to its end, so every split leaves a span only one point shorter, and
// the refinement nests as deep as there are points. On a 256 KiB stack a
// reduction that recursed per split would overflow.
TEST(DataApproximator, DeepRefinementNeedsNoStack) {
  constexpr int n = 10000;
  struct Job {
    std::vector<Point> zigzag;
    size_t kept = 0;
  } job;
  for (int i = 0; i < n; ++i) job.zigzag.push_back({double(i), (i % 2 ? -1.0 : 1.0) * (1.0 + double(i) / n)});

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    auto& j = *static_cast<Job*>(arg);
    j.kept = ChartDataApproximator::reduceWithDouglasPeuker(j.zigzag, 0.5).size();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  EXPECT_EQ(job.kept, static_cast<size_t>(n));
}

}  // namespace
