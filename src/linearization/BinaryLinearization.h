#pragma once

#include <cstdint>
#include <vector>

#include "linearization/QuadDataFile.h"

namespace linearization {

// Applies a correction curve to every ink channel: the new level at an input
// position is the old channel's level at the corrected position. The work
// runs on a fine grid of 1024 points, comes back to 256 entries, goes through
// a coarse grid of 86 points and is lightly smoothed. Everything happens in
// the constructor; read linearizedOutputQuadArray afterwards.
class BinaryLinearization {
 public:
  // `correctionCurve` in percent, entry 0 for input step 0; 256 levels per
  // channel and 256 correction values (see isApplicable).
  BinaryLinearization(const std::vector<double>& correctionCurve, const std::vector<InkCurve>& quadCurves);
  virtual ~BinaryLinearization() = default;

  // Whether a correction curve and channels have the shapes the work needs:
  // 256 correction values, at least one channel, 256 levels in each.
  static bool isApplicable(const std::vector<double>& correctionCurve, const std::vector<InkCurve>& quadCurves);

  int64_t stepIndexForLin = 1;
  std::vector<InkCurve> quadToLinearize;
  std::vector<double> targetArray;
  std::vector<InkCurve> linearizedOutputQuadArray;
  std::vector<double> stepArray;
  std::vector<double> step256;
  std::vector<double> stepArray1024;
  std::vector<int64_t> lookupscale;
  std::vector<double> xScale;

  // Each channel on the 1024-point grid, re-read at the target positions.
  virtual std::vector<InkCurve> linearizeQuadCurves(const std::vector<InkCurve>& channels,
                                                    const std::vector<double>& target);
  // Each 256-entry channel through the 86-point grid and a three-point mean.
  virtual std::vector<InkCurve> resampleFromGrid(const std::vector<InkCurve>& channels);
};

// Back from the fine grid: entry 0 takes fine point 0, entry i takes fine
// point min(4(i + 1), 1023).
std::vector<InkCurve> downsampleTo256(const std::vector<InkCurve>& channels);

}  // namespace linearization
