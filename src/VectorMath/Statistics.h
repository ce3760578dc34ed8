#pragma once

// Reductions of one collection of float or double to one number (see
// MemoryAccess.h for how collections are passed), and the least-squares line
// through two collections.
//
// Empty collections: sum, asum and sumsq are 0; max is -infinity and min
// +infinity; the means, variance, std and linearRegression divide 0 by 0 and
// give NaN. Variance and std are the population forms (divisor n).
//
// Sums add in the fixed eight-lane order of platform::accelerate (exactly
// left to right up to eight elements).

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "VectorMath/Arithmetic.h"
#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Routines.h"

namespace VectorMath {

template <RealCollection C>
ElementOf<C> sum(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::sve);
}

// Sum of the magnitudes (BLAS asum: count and stride within 32 bits).
template <RealCollection C>
ElementOf<C> asum(const C& collection) {
  using T = ElementOf<C>;
  return withUnsafeMemory(collection, [](UnsafeMemory<T> m) {
    int n = int32Count(m.count);
    int inc = int32Count(m.stride);
    return Routines<T>::asum(n, m.pointer, inc);
  });
}

template <RealCollection C>
ElementOf<C> sumsq(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::svesq);
}

template <RealCollection C>
ElementOf<C> max(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::maxv);
}

template <RealCollection C>
ElementOf<C> min(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::minv);
}

template <RealCollection C>
ElementOf<C> mean(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::meanv);
}

// Mean of the magnitudes.
template <RealCollection C>
ElementOf<C> meamg(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::meamgv);
}

// Mean of the squares.
template <RealCollection C>
ElementOf<C> measq(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::measqv);
}

// Root of the mean of the squares.
template <RealCollection C>
ElementOf<C> rmsq(const C& collection) {
  return reduceWith(collection, Routines<ElementOf<C>>::rmsqv);
}

// Mean of the squared deviations from the given mean, divided by n.
template <RealCollection C>
ElementOf<C> variance(const C& collection, ElementOf<C> mean) {
  using T = ElementOf<C>;
  auto deviations = sub(collection, mean);
  T result = 0;
  Routines<T>::measqv(deviations.data(), 1, &result, deviations.size());
  return result;
}

// Population variance: about the collection's own mean, divided by n.
template <RealCollection C>
ElementOf<C> variance(const C& collection) {
  return variance(collection, VectorMath::mean(collection));
}

template <RealCollection C>
ElementOf<C> std(const C& collection, ElementOf<C> mean) {
  return std::sqrt(variance(collection, mean));
}

template <RealCollection C>
ElementOf<C> std(const C& collection) {
  return std::sqrt(variance(collection));
}

// The least-squares line y = slope * x + intercept, as (slope, intercept).
// A constant x divides by zero: the slope comes out infinite or NaN.
template <RealCollection X, RealCollection Y>
  requires SameElements<X, Y>
std::pair<ElementOf<X>, ElementOf<X>> linearRegression(const X& x, const Y& y) {
  using T = ElementOf<X>;
  precondition(std::ranges::size(x) == std::ranges::size(y), "x and y hold as many elements");
  T mx = VectorMath::mean(x);
  T my = VectorMath::mean(y);
  auto products = elmul(x, y);
  T mxy = 0;
  Routines<T>::meanv(products.data(), 1, &mxy, products.size());
  T mxx = measq(x);
  T slope = (mx * my - mxy) / (mx * mx - mxx);
  T intercept = my - mx * slope;
  return {slope, intercept};
}

}  // namespace VectorMath
