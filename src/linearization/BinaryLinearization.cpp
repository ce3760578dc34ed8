#include "linearization/BinaryLinearization.h"

#include <algorithm>
#include <cmath>

#include "linearization/RBInterpolateD.h"
#include "platform/accelerate/Accelerate.h"

namespace linearization {

namespace {

constexpr int64_t kFine = 1024;
constexpr double kFineStep = 100.0 / 1024.0;  // 0.09765625, exact in binary

// The largest i with grid[i] <= x, held to 0...size - 2 so i + 1 is valid;
// 0 for x below the grid or not a number.
int64_t segmentIndex(const std::vector<double>& grid, double x) {
  const int64_t n = static_cast<int64_t>(grid.size());
  if (n < 2 || std::isnan(x) || x < grid.front()) return 0;
  const auto above = std::upper_bound(grid.begin(), grid.end(), x);
  const int64_t i = static_cast<int64_t>(above - grid.begin()) - 1;
  return std::min(i, n - 2);
}

}  // namespace

bool BinaryLinearization::isApplicable(const std::vector<double>& correctionCurve,
                                       const std::vector<InkCurve>& quadCurves) {
  if (correctionCurve.size() != 256 || quadCurves.empty()) return false;
  return std::all_of(quadCurves.begin(), quadCurves.end(), [](const InkCurve& c) { return c.size() == 256; });
}

BinaryLinearization::BinaryLinearization(const std::vector<double>& correctionCurve,
                                         const std::vector<InkCurve>& quadCurves) {
  stepArray.resize(256);
  platform::accelerate::vrampD(0.0, 1.0 / 255.0, stepArray.data(), 1, 256);
  step256 = stepArray;
  stepArray1024.resize(kFine);
  for (int64_t i = 0; i < kFine; ++i) stepArray1024[i] = static_cast<double>(i) * kFineStep;
  for (int64_t k = 0; k <= 85; ++k) {
    lookupscale.push_back(3 * k);
    xScale.push_back(static_cast<double>(3 * k) / 255.0);
  }

  // The correction curve (100 ... 0) as target input positions (0 ... 100).
  targetArray.reserve(correctionCurve.size());
  for (auto it = correctionCurve.rbegin(); it != correctionCurve.rend(); ++it)
    targetArray.push_back(std::fabs(*it - 100.0));

  quadToLinearize = quadCurves;
  if (!isApplicable(correctionCurve, quadCurves)) return;  // nothing to correct

  auto fine = linearizeQuadCurves(quadToLinearize, targetArray);
  auto coarse = downsampleTo256(fine);
  linearizedOutputQuadArray = resampleFromGrid(coarse);
  // The first channel's darkest level is kept exactly as it was; the other
  // channels keep their computed last entry.
  linearizedOutputQuadArray.front()[255] = quadToLinearize.front()[255];
}

std::vector<InkCurve> BinaryLinearization::linearizeQuadCurves(const std::vector<InkCurve>& channels,
                                                               const std::vector<double>& target) {
  const auto fineTarget = RBInterpolateD(step256, target, "Linear", static_cast<double>(kFine)).outputArray;
  const int64_t targetCount = static_cast<int64_t>(fineTarget.size());
  std::vector<InkCurve> out;
  out.reserve(channels.size());
  for (const auto& channel : channels) {
    const auto u = RBInterpolateD(step256, channel, "Spline", static_cast<double>(kFine)).outputArray;
    if (static_cast<int64_t>(u.size()) != kFine) {
      out.emplace_back(kFine, 0.0);
      continue;
    }
    InkCurve values;
    values.reserve(kFine);
    for (int64_t k = 0; k + 1 < targetCount; ++k) {
      const double x = fineTarget[k];
      const int64_t i = segmentIndex(stepArray1024, x);
      const double y0 = u[i], y1 = u[i + 1];
      const double s0 = stepArray1024[i], s1 = stepArray1024[i + 1];
      if (y0 == 0 && y1 == 0) {
        values.push_back(0);  // ink that is off stays off
        continue;
      }
      const double v = y0 + (x - s0) * ((y1 - y0) / (s1 - s0));
      values.push_back(v > 0 ? v : 0);  // negative and not-a-number levels are 0
    }
    values.push_back(u[0]);
    values.front() = u[kFine - 1];
    std::reverse(values.begin(), values.end());
    out.push_back(std::move(values));
  }
  return out;
}

std::vector<InkCurve> downsampleTo256(const std::vector<InkCurve>& channels) {
  std::vector<InkCurve> out;
  out.reserve(channels.size());
  for (const auto& fine : channels) {
    const int64_t n = static_cast<int64_t>(fine.size());
    InkCurve coarse(256, 0.0);
    if (n == 0) {
      out.push_back(std::move(coarse));
      continue;
    }
    coarse[0] = fine[0];
    for (int64_t i = 1; i < 256; ++i) coarse[i] = fine[std::min<int64_t>({4 * (i + 1), 1023, n - 1})];
    out.push_back(std::move(coarse));
  }
  return out;
}

std::vector<InkCurve> BinaryLinearization::resampleFromGrid(const std::vector<InkCurve>& channels) {
  std::vector<InkCurve> out;
  out.reserve(channels.size());
  for (const auto& w : channels) {
    std::vector<double> g;
    g.reserve(lookupscale.size());
    for (int64_t index : lookupscale) g.push_back(w[index]);
    const auto r = RBInterpolateD(xScale, g, "Linear", 256).outputArray;
    InkCurve s(256, 0.0);
    if (r.size() == 256) {
      for (int64_t j = 1; j <= 254; ++j) s[j] = (r[j - 1] + r[j] + r[j + 1]) / 3.0;
      s[255] = r[255];
    }
    out.push_back(std::move(s));
  }
  return out;
}

}  // namespace linearization
