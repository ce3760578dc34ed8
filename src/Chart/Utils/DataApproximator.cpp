#include "Chart/Utils/DataApproximator.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <queue>
#include <utility>

namespace chart {
namespace {

using Point = DataApproximator::Point;

// The infinite line through a span's start s and end e, set up so that a
// point's distance costs two multiplications and a division.
class Line {
 public:
  Line(Point s, Point e)
      : start_(s),
        sxey_(s.x * e.y),
        exsy_(s.y * e.x),
        dx_(s.x - e.x),
        dy_(s.y - e.y),
        length_(std::sqrt(dx_ * dx_ + dy_ * dy_)) {}

  double distance(Point p) const {
    if (length_ == 0) {
      // The ends coincide: dividing by the zero length would make every
      // distance NaN and keep nothing of a closed outline.
      const double ex = p.x - start_.x, ey = p.y - start_.y;
      return std::sqrt(ex * ex + ey * ey);
    }
    return std::abs(sxey_ + (dy_ * p.x - dx_ * p.y) - exsy_) / length_;
  }

 private:
  Point start_;
  double sxey_, exsy_, dx_, dy_, length_;
};

// A span of the input and its point farthest from the line joining its ends.
// `index` is 0 when no point lies off that line (or none lies between).
struct Span {
  size_t start = 0;
  size_t end = 0;
  double distance = 0;
  size_t index = 0;
};

// Scans the points strictly between the ends in order; only a strictly
// greater distance replaces the best, so the first of equally far points
// wins and points on the line are never chosen.
Span farthestPoint(const std::vector<Point>& points, size_t start, size_t end) {
  Span span{start, end, 0.0, 0};
  if (end - start < 2) return span;
  const Line line(points[start], points[end]);
  for (size_t i = start + 1; i < end; ++i) {
    const double d = line.distance(points[i]);
    if (d > span.distance) {
      span.distance = d;
      span.index = i;
    }
  }
  return span;
}

std::vector<Point> keptPoints(const std::vector<Point>& points, const std::vector<bool>& keep) {
  std::vector<Point> result;
  for (size_t i = 0; i < points.size(); ++i)
    if (keep[i]) result.push_back(points[i]);
  return result;
}

}  // namespace

std::vector<Point> DataApproximator::reduceWithDouglasPeuker(const std::vector<Point>& points, double tolerance) {
  if (tolerance <= 0 || points.size() < 3) return points;
  const size_t n = points.size();
  std::vector<bool> keep(n, false);
  keep[0] = keep[n - 1] = true;

  // Spans still to refine. A span's two halves are pushed second half first,
  // so the first half is refined first, as a recursion would; unlike one,
  // the depth of a long curve that splits unevenly costs heap, not stack.
  std::vector<std::pair<size_t, size_t>> pending{{0, n - 1}};
  while (!pending.empty()) {
    const auto [start, end] = pending.back();
    pending.pop_back();
    const Span span = farthestPoint(points, start, end);
    if (!(span.distance > tolerance)) continue;
    keep[span.index] = true;
    pending.emplace_back(span.index, end);
    pending.emplace_back(start, span.index);
  }
  return keptPoints(points, keep);
}

std::vector<Point> DataApproximator::reduceWithDouglasPeukerN(const std::vector<Point>& points, int64_t resultCount) {
  if (resultCount < 3 || static_cast<int64_t>(points.size()) <= resultCount) return points;
  const size_t n = points.size();
  std::vector<bool> keep(n, false);
  keep[0] = keep[n - 1] = true;
  int64_t kept = 2;

  // The span with the farthest point is refined next; of equally far ones,
  // the one added last. The spans never overlap, so no two are the same.
  struct Queued {
    Span span;
    uint64_t order;
  };
  auto refinedLater = [](const Queued& a, const Queued& b) {
    if (a.span.distance != b.span.distance) return a.span.distance < b.span.distance;
    return a.order < b.order;
  };
  std::priority_queue<Queued, std::vector<Queued>, decltype(refinedLater)> queue(refinedLater);
  uint64_t added = 0;
  auto enqueue = [&](const Span& span) {
    if (span.index == 0) return;  // nothing off the line: nothing to keep
    queue.push({span, added++});
  };

  enqueue(farthestPoint(points, 0, n - 1));
  while (!queue.empty()) {
    const Span span = queue.top().span;
    queue.pop();
    keep[span.index] = true;
    if (++kept == resultCount) break;
    enqueue(farthestPoint(points, span.start, span.index));
    enqueue(farthestPoint(points, span.index, span.end));
  }
  return keptPoints(points, keep);
}

}  // namespace chart
