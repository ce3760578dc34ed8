#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "platform/accelerate/Accelerate.h"

namespace {

using namespace platform::accelerate;

std::vector<double> iota(int n, double start = 1) {
  std::vector<double> v(n);
  std::iota(v.begin(), v.end(), start);
  return v;
}

TEST(Accelerate, ArgumentOrdersOfTheRoutines) {
  std::vector<double> a{6, 8}, b{3, 2}, c(2);
  vdivD(b.data(), 1, a.data(), 1, c.data(), 1, 2);  // divisor first
  EXPECT_EQ(c, (std::vector<double>{2, 4}));

  std::vector<double> bases{2, 3}, exponents{3, 2};
  vvpow(c.data(), exponents.data(), bases.data(), 2);
  EXPECT_EQ(c, (std::vector<double>{8, 9}));

  std::vector<double> dividends{7, -7, 5}, divisors{3, 3, 2};
  std::vector<double> r(3);
  vvfmod(r.data(), dividends.data(), divisors.data(), 3);
  EXPECT_EQ(r, (std::vector<double>{1, -1, 1}));
  vvremainder(r.data(), dividends.data(), divisors.data(), 3);
  EXPECT_EQ(r, (std::vector<double>{1, -1, 1}));
  std::vector<double> seven{7}, four{4};
  vvremainder(r.data(), seven.data(), four.data(), 1);
  EXPECT_EQ(r[0], -1.0);

  std::vector<double> x{49};
  vsdivD(x.data(), 1, 49.0, x.data(), 1, 1);  // a true division: 49 * (1/49) is not 1
  EXPECT_EQ(x[0], 1.0);

  std::vector<double> ramp(5);
  vrampD(1.0, -0.25, ramp.data(), 1, 5);
  EXPECT_EQ(ramp, (std::vector<double>{1, 0.75, 0.5, 0.25, 0}));
}

// The element-wise routines give the same values whether the output is a
// separate buffer, one of the inputs, or overlaps an input at an offset (the
// last runs element by element in index order), and whatever the strides.
TEST(Accelerate, InPlaceOverlappingAndStridedUseAgree) {
  const int n = 21;  // two whole blocks and a tail
  auto a = iota(n), b = iota(n, 100);
  std::vector<double> expected(n);
  for (int i = 0; i < n; ++i) expected[i] = a[i] * b[i];

  std::vector<double> out(n);
  vmulD(a.data(), 1, b.data(), 1, out.data(), 1, n);
  EXPECT_EQ(out, expected);
  auto intoA = a;
  vmulD(intoA.data(), 1, b.data(), 1, intoA.data(), 1, n);
  EXPECT_EQ(intoA, expected);
  auto intoB = b;
  vmulD(a.data(), 1, intoB.data(), 1, intoB.data(), 1, n);
  EXPECT_EQ(intoB, expected);
  auto same = a;
  vmulD(same.data(), 1, same.data(), 1, same.data(), 1, n);
  for (int i = 0; i < n; ++i) EXPECT_EQ(same[i], a[i] * a[i]);

  // Output one element ahead of the input: each step reads what the step
  // before wrote.
  std::vector<double> shifted(n + 1, 0.0);
  shifted[0] = 1;
  std::vector<double> ones(n, 1.0);
  vaddD(shifted.data(), 1, ones.data(), 1, shifted.data() + 1, 1, n);
  for (int i = 0; i <= n; ++i) EXPECT_EQ(shifted[i], i + 1.0);

  // Strides: every second element of a, written backwards.
  std::vector<double> back(5, 0.0);
  vsaddD(a.data(), 2, 0.5, back.data() + 4, -1, 5);
  EXPECT_EQ(back, (std::vector<double>{9.5, 7.5, 5.5, 3.5, 1.5}));
}

TEST(Accelerate, SumsFollowTheEightLaneOrder) {
  // Up to eight elements the sum is the left-to-right sum.
  std::vector<double> small{1e16, 1, 1, -1e16};
  double s = -1;
  sveD(small.data(), 1, &s, small.size());
  EXPECT_EQ(s, ((1e16 + 1) + 1) - 1e16);

  // Beyond that element i goes to lane i mod 8: the two 1e16 share lane 0 and
  // cancel there, the ones survive in their own lanes.
  std::vector<double> big(17, 0.0);
  big[0] = 1e16;
  big[8] = -1e16;
  for (int i : {1, 2, 9, 10}) big[i] = 1;
  sveD(big.data(), 1, &s, big.size());
  EXPECT_EQ(s, 4.0);
  // The strided path adds in the same order as the contiguous one.
  std::vector<double> spread(34, 0.0);
  for (int i = 0; i < 17; ++i) spread[2 * i] = big[i];
  double t = -1;
  sveD(spread.data(), 2, &t, 17);
  EXPECT_EQ(t, s);

  std::vector<float> f{1.5f, 2.5f, -1.0f};
  float fs = -1;
  sve(f.data(), 1, &fs, 3);
  EXPECT_EQ(fs, 3.0f);

  // Empty inputs.
  double r = -1;
  sveD(nullptr, 1, &r, 0);
  EXPECT_EQ(r, 0.0);
  maxvD(nullptr, 1, &r, 0);
  EXPECT_EQ(r, -std::numeric_limits<double>::infinity());
  minvD(nullptr, 1, &r, 0);
  EXPECT_EQ(r, std::numeric_limits<double>::infinity());
  meanvD(nullptr, 1, &r, 0);
  EXPECT_TRUE(std::isnan(r));
}

TEST(Accelerate, BlasIncrementsAndCounts) {
  std::vector<double> x{1, 2, 3}, y{10, 20, 30};
  daxpy(3, -1.0, x.data(), -1, y.data(), 1);  // x walked from its far end
  EXPECT_EQ(y, (std::vector<double>{7, 18, 29}));
  daxpy(0, 1.0, x.data(), 1, y.data(), 1);
  EXPECT_EQ(y, (std::vector<double>{7, 18, 29}));

  std::vector<double> m{-1, 2, -3};
  EXPECT_EQ(dasum(3, m.data(), 1), 6.0);
  EXPECT_EQ(dasum(3, m.data(), 0), 0.0);
  EXPECT_EQ(dasum(-1, m.data(), 1), 0.0);

  std::vector<double> v{1, std::nan(""), 3, 4};
  dscal(3, 0.0, v.data(), 1);  // alpha 0 still multiplies: NaN stays NaN
  EXPECT_EQ(v[0], 0.0);
  EXPECT_TRUE(std::isnan(v[1]));
  EXPECT_EQ(v[3], 4.0);  // beyond n: untouched
  dscal(2, 2.0, v.data() + 2, 1);
  EXPECT_EQ(v[2], 0.0);
  EXPECT_EQ(v[3], 8.0);
}

}  // namespace
