#pragma once

// Stand-in for the platform's complex FFT: a set-up made once for a length n,
// then forward transforms in place on a split-complex pair (real parts,
// imaginary parts, n each). The transform is the discrete Fourier transform
// without normalisation:
//   X[k] = sum over t of x[t] * exp(-2 pi i k t / n)
// (no 1/n factor and no factor 2), for any n >= 1: radix 2 when n is a power
// of two, otherwise Bluestein's chirp method over a power-of-two length, so
// every length gets its true n-point transform. The work is done in double
// precision for both element types.

#include <complex>
#include <cstddef>
#include <memory>
#include <vector>

namespace platform::accelerate {

class FFTSetup {
 public:
  // Nothing is made for n = 0.
  static std::unique_ptr<FFTSetup> create(std::size_t n);

  std::size_t length() const { return n_; }

  // In place over re[0..n) and im[0..n).
  void forward(float* re, float* im) const;
  void forward(double* re, double* im) const;

 private:
  explicit FFTSetup(std::size_t n);
  void transform(std::vector<std::complex<double>>& x) const;
  template <class T>
  void forwardIn(T* re, T* im) const;

  std::size_t n_;
  // A power-of-two set-up keeps its twiddles exp(-2 pi i k / n), k < n / 2,
  // in chirpSpectrum_ and has no padded_ set-up.
  // Bluestein: the chirp exp(-pi i k^2 / n) for k < n, the transform of its
  // conjugate laid out circularly over the padded length, and the set-up of
  // that padded power-of-two length. Empty when n is a power of two.
  std::vector<std::complex<double>> chirp_;
  std::vector<std::complex<double>> chirpSpectrum_;
  std::unique_ptr<FFTSetup> padded_;
};

}  // namespace platform::accelerate
