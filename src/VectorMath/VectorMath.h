#pragma once

// The vector-math module: element-wise arithmetic (Arithmetic.h), statistics
// (Statistics.h), auxiliary, trigonometric and random functions, convolution
// and FFT, the Vector and Matrix types with their algebra, and the memory
// frame all of them are built on (MemoryAccess.h).
//
// Passing collections: every operation takes a contiguous collection of
// float or double that can lend its storage: std::vector, std::array, a C
// array, or a std::span. A span over part of an array plays the array slice:
// it lends from its own first element. Read-only operands bind as const&;
// the target of an in-place form (…InPlace) needs writable storage: a
// non-const vector or array, or a span of non-const elements (a temporary
// sub-span will do). Returning forms give a new std::vector and leave their
// operands unchanged. Unequal counts and counts out of a routine's range stop
// the program.
//
//   std::vector<double> v{1, 2, 3, 4};
//   double m = VectorMath::mean(v);                         // 2.5
//   double s = VectorMath::sum(std::span(v).subspan(1, 2)); // 5, the slice v[1..<3]
//   auto g = VectorMath::pow(v, 0.5);                       // new array; v unchanged
//   VectorMath::mulInPlace(std::span(v).first(2), 10.0);    // v = {10, 20, 3, 4}

#include "VectorMath/Arithmetic.h"
#include "VectorMath/Auxiliary.h"
#include "VectorMath/Convolution.h"
#include "VectorMath/LinearAlgebra.h"
#include "VectorMath/Matrix.h"
#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Random.h"
#include "VectorMath/Statistics.h"
#include "VectorMath/Trigonometry.h"
#include "VectorMath/Vector.h"
