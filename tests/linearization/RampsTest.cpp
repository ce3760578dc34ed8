#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "linearization/Ramps.h"

namespace {

using namespace linearization;

TEST(Ramps, MakeRamp) {
  auto percent = makeRamp(256, 0.0, 100.0);
  ASSERT_EQ(percent.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(percent[i], i * (100.0 / 255.0)) << i;
  EXPECT_NEAR(percent[255], 100.0, 1e-12);
  EXPECT_EQ(percent[1], 100.0 / 255.0);

  auto falling = makeRamp(256, 1.0, 0.0);
  EXPECT_EQ(falling.front(), 1.0);
  EXPECT_NEAR(falling.back(), 0.0, 1e-15);
  for (int i = 1; i < 256; ++i) EXPECT_LT(falling[i], falling[i - 1]);

  struct Case {
    std::int64_t count;
    double start, end;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {0, 3, 9, {}},
      {-4, 3, 9, {}},
      {1, 5, 9, {5}},
      {2, 5, 9, {5, 9}},
      {5, 0, 4, {0, 1, 2, 3, 4}},
      {5, 2, -2, {2, 1, 0, -1, -2}},
  };
  for (const auto& c : cases) EXPECT_EQ(makeRamp(c.count, c.start, c.end), c.expected) << c.count;
}

TEST(Ramps, NormalizeValues) {
  EXPECT_EQ(normalizeValues(std::vector<double>{2, 4, 6}), (std::vector<double>{0, 0.5, 1}));
  // The input's order is kept; nothing is sorted.
  EXPECT_EQ(normalizeValues(std::vector<double>{6, 2, 3}), (std::vector<double>{1, 0, 0.25}));
  EXPECT_EQ(normalizeValues(std::vector<double>{-1, 1}), (std::vector<double>{0, 1}));
  EXPECT_TRUE(normalizeValues(std::vector<double>{}).empty());
  const std::vector<double> input{5, 7, 9};
  normalizeValues(input);
  EXPECT_EQ(input, (std::vector<double>{5, 7, 9}));
  // A zero range: 0/0 for every entry.
  for (const auto& flat : {std::vector<double>{3, 3, 3}, std::vector<double>{8}}) {
    auto out = normalizeValues(flat);
    ASSERT_EQ(out.size(), flat.size());
    for (double v : out) EXPECT_TRUE(std::isnan(v));
  }
}

TEST(Ramps, GammaCurve) {
  QuadGammaAdjustD gamma;
  EXPECT_EQ(gamma.gammaAdjustment(), 1.0);
  EXPECT_EQ(gamma.ramp(), makeRamp(256, 0.0, 1.0));
  EXPECT_TRUE(gamma.inputValues().empty());
  EXPECT_TRUE(gamma.outputValues().empty());

  struct Case {
    double gamma;
    double (*expected)(double unit);
  };
  const Case cases[] = {
      {1.0, [](double u) { return 100 * u; }},
      {2.0, [](double u) { return 100 * std::sqrt(u); }},  // above the line
      {0.5, [](double u) { return 100 * u * u; }},         // below it
  };
  for (const auto& c : cases) {
    gamma.setGammaAdjustment(c.gamma);
    auto curve = gamma.applyGamma();
    ASSERT_EQ(curve.size(), 256u);
    EXPECT_EQ(curve.front(), 0.0);
    EXPECT_EQ(curve.back(), 100.0);
    for (int i = 0; i < 256; ++i) EXPECT_NEAR(curve[i], c.expected(i / 255.0), 1e-12) << c.gamma << " at " << i;
  }
  // Gamma 0: an infinite exponent, 0 everywhere but the last value.
  gamma.setGammaAdjustment(0.0);
  auto curve = gamma.applyGamma();
  for (int i = 0; i < 255; ++i) EXPECT_EQ(curve[i], 0.0) << i;
  EXPECT_EQ(curve[255], 100.0);

  // An emptied ramp comes back; the channels are left alone.
  gamma.setInputValues({{1, 2}, {3}});
  gamma.setOutputValues({{4}});
  gamma.setRamp({});
  gamma.setGammaAdjustment(1.0);
  curve = gamma.applyGamma();
  EXPECT_EQ(curve.size(), 256u);
  EXPECT_EQ(gamma.ramp(), makeRamp(256, 0.0, 1.0));
  EXPECT_EQ(gamma.inputValues(), (std::vector<std::vector<double>>{{1, 2}, {3}}));
  EXPECT_EQ(gamma.outputValues(), (std::vector<std::vector<double>>{{4}}));

  // A caller's own ramp is used as it is.
  gamma.setRamp({0.25, 1.0});
  gamma.setGammaAdjustment(2.0);
  EXPECT_EQ(gamma.applyGamma(), (std::vector<double>{50.0, 100.0}));
}

}  // namespace
