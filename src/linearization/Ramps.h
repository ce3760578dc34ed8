#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace linearization {

// count evenly spaced values from start to end: value i = start + i * step,
// step = (end - start) / (count - 1). The end may lie below the start (a
// falling ramp); the last value equals the end up to rounding. A count of 1
// gives {start}; a count of 0 or less gives an empty ramp.
std::vector<double> makeRamp(std::int64_t count, double start, double end);

// Maps values linearly onto 0...1 by their own minimum and maximum, keeping
// their order. Equal values (a single one included) give 0/0, not a number,
// for every entry; an empty input gives an empty output.
std::vector<double> normalizeValues(std::span<const double> values);

// The gamma curve of the ink-curve editors: 100 × ramp^(1 / gamma), in
// percent. The editors set inputValues and gammaAdjustment, call applyGamma,
// and store the channels they correct with the curve in outputValues.
class QuadGammaAdjustD {
 public:
  QuadGammaAdjustD();
  virtual ~QuadGammaAdjustD() = default;

  virtual const std::vector<std::vector<double>>& inputValues() const;
  virtual void setInputValues(std::vector<std::vector<double>> channels);
  virtual const std::vector<std::vector<double>>& outputValues() const;
  virtual void setOutputValues(std::vector<std::vector<double>> channels);
  virtual double gammaAdjustment() const;
  virtual void setGammaAdjustment(double gamma);
  virtual const std::vector<double>& ramp() const;
  virtual void setRamp(std::vector<double> ramp);

  // The curve for the current gamma over the current ramp (the 256-point unit
  // ramp is put back first if the ramp was emptied). With the default ramp,
  // value i is 100 × (i / 255)^(1 / gamma). Leaves inputValues and
  // outputValues alone.
  virtual std::vector<double> applyGamma();

 private:
  std::vector<std::vector<double>> inputValues_;
  std::vector<std::vector<double>> outputValues_;
  double gammaAdjustment_ = 1.0;
  std::vector<double> ramp_;
};

}  // namespace linearization
