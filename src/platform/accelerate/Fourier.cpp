#include "platform/accelerate/Fourier.h"

#include <cstdint>
#include <numbers>
#include <utility>

namespace platform::accelerate {

namespace {

bool isPowerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

// exp(-2 pi i k / n) for k < n / 2.
std::vector<std::complex<double>> twiddles(std::size_t n) {
  std::vector<std::complex<double>> w(n / 2);
  for (std::size_t k = 0; k < w.size(); ++k)
    w[k] = std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n));
  return w;
}

// Iterative radix-2 forward transform of a power-of-two length, in place.
void radix2(std::vector<std::complex<double>>& x, const std::vector<std::complex<double>>& w) {
  const std::size_t n = x.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::size_t half = len / 2;
    const std::size_t step = n / len;
    for (std::size_t start = 0; start < n; start += len)
      for (std::size_t k = 0; k < half; ++k) {
        std::complex<double> u = x[start + k];
        std::complex<double> v = x[start + k + half] * w[k * step];
        x[start + k] = u + v;
        x[start + k + half] = u - v;
      }
  }
}

}  // namespace

std::unique_ptr<FFTSetup> FFTSetup::create(std::size_t n) {
  if (n == 0) return nullptr;
  return std::unique_ptr<FFTSetup>(new FFTSetup(n));
}

FFTSetup::FFTSetup(std::size_t n) : n_(n) {
  if (isPowerOfTwo(n)) {
    chirpSpectrum_ = twiddles(n);
    return;
  }
  std::size_t m = 1;
  while (m < 2 * n - 1) m <<= 1;
  padded_ = create(m);

  // exp(-pi i k^2 / n); k^2 is reduced modulo 2n first so that the angle
  // stays small and exact for large k.
  chirp_.resize(n);
  const auto twoN = static_cast<std::uint64_t>(2 * n);
  for (std::size_t k = 0; k < n; ++k) {
    auto kk = static_cast<std::uint64_t>(k);
    std::uint64_t square = static_cast<std::uint64_t>((static_cast<unsigned __int128>(kk) * kk) % twoN);
    chirp_[k] = std::polar(1.0, -std::numbers::pi * static_cast<double>(square) / static_cast<double>(n));
  }
  std::vector<std::complex<double>> b(m);
  b[0] = std::conj(chirp_[0]);
  for (std::size_t k = 1; k < n; ++k) b[k] = b[m - k] = std::conj(chirp_[k]);
  padded_->transform(b);
  chirpSpectrum_ = std::move(b);
}

void FFTSetup::transform(std::vector<std::complex<double>>& x) const {
  if (!padded_) return radix2(x, chirpSpectrum_);

  // Bluestein: X[k] = chirp[k] * sum over t of (x[t] chirp[t]) conj(chirp[k - t]),
  // a circular convolution over the padded length done by transforms.
  const std::size_t m = padded_->length();
  std::vector<std::complex<double>> a(m);
  for (std::size_t k = 0; k < n_; ++k) a[k] = x[k] * chirp_[k];
  padded_->transform(a);
  // Inverse transform as the conjugate of the forward transform of the conjugate.
  for (std::size_t k = 0; k < m; ++k) a[k] = std::conj(a[k] * chirpSpectrum_[k]);
  padded_->transform(a);
  const double scale = 1.0 / static_cast<double>(m);
  for (std::size_t k = 0; k < n_; ++k) x[k] = chirp_[k] * std::conj(a[k]) * scale;
}

template <class T>
void FFTSetup::forwardIn(T* re, T* im) const {
  std::vector<std::complex<double>> x(n_);
  for (std::size_t i = 0; i < n_; ++i) x[i] = {re[i], im[i]};
  transform(x);
  for (std::size_t i = 0; i < n_; ++i) {
    re[i] = static_cast<T>(x[i].real());
    im[i] = static_cast<T>(x[i].imag());
  }
}

void FFTSetup::forward(float* re, float* im) const { forwardIn(re, im); }
void FFTSetup::forward(double* re, double* im) const { forwardIn(re, im); }

}  // namespace platform::accelerate
