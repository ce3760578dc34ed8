#pragma once

// The routine of each precision: Routines<float>::vsadd is the single-
// precision routine, Routines<double>::vsadd the double one. An operation is
// written once over T and picks its routine here.

#include "platform/accelerate/Accelerate.h"

namespace VectorMath {

template <class T>
struct Routines;

template <>
struct Routines<float> {
  static constexpr auto sve = &platform::accelerate::sve;
  static constexpr auto svesq = &platform::accelerate::svesq;
  static constexpr auto maxv = &platform::accelerate::maxv;
  static constexpr auto minv = &platform::accelerate::minv;
  static constexpr auto meanv = &platform::accelerate::meanv;
  static constexpr auto meamgv = &platform::accelerate::meamgv;
  static constexpr auto measqv = &platform::accelerate::measqv;
  static constexpr auto rmsqv = &platform::accelerate::rmsqv;
  static constexpr auto dotpr = &platform::accelerate::dotpr;
  static constexpr auto vsadd = &platform::accelerate::vsadd;
  static constexpr auto vsmul = &platform::accelerate::vsmul;
  static constexpr auto vsdiv = &platform::accelerate::vsdiv;
  static constexpr auto vadd = &platform::accelerate::vadd;
  static constexpr auto vmul = &platform::accelerate::vmul;
  static constexpr auto vdiv = &platform::accelerate::vdiv;
  static constexpr auto vsq = &platform::accelerate::vsq;
  static constexpr auto vramp = &platform::accelerate::vramp;
  static constexpr auto vvpow = &platform::accelerate::vvpowf;
  static constexpr auto vvfmod = &platform::accelerate::vvfmodf;
  static constexpr auto vvremainder = &platform::accelerate::vvremainderf;
  static constexpr auto vvexp = &platform::accelerate::vvexpf;
  static constexpr auto vvexp2 = &platform::accelerate::vvexp2f;
  static constexpr auto vvsqrt = &platform::accelerate::vvsqrtf;
  static constexpr auto axpy = &platform::accelerate::saxpy;
  static constexpr auto asum = &platform::accelerate::sasum;
  static constexpr auto scal = &platform::accelerate::sscal;
};

template <>
struct Routines<double> {
  static constexpr auto sve = &platform::accelerate::sveD;
  static constexpr auto svesq = &platform::accelerate::svesqD;
  static constexpr auto maxv = &platform::accelerate::maxvD;
  static constexpr auto minv = &platform::accelerate::minvD;
  static constexpr auto meanv = &platform::accelerate::meanvD;
  static constexpr auto meamgv = &platform::accelerate::meamgvD;
  static constexpr auto measqv = &platform::accelerate::measqvD;
  static constexpr auto rmsqv = &platform::accelerate::rmsqvD;
  static constexpr auto dotpr = &platform::accelerate::dotprD;
  static constexpr auto vsadd = &platform::accelerate::vsaddD;
  static constexpr auto vsmul = &platform::accelerate::vsmulD;
  static constexpr auto vsdiv = &platform::accelerate::vsdivD;
  static constexpr auto vadd = &platform::accelerate::vaddD;
  static constexpr auto vmul = &platform::accelerate::vmulD;
  static constexpr auto vdiv = &platform::accelerate::vdivD;
  static constexpr auto vsq = &platform::accelerate::vsqD;
  static constexpr auto vramp = &platform::accelerate::vrampD;
  static constexpr auto vvpow = &platform::accelerate::vvpow;
  static constexpr auto vvfmod = &platform::accelerate::vvfmod;
  static constexpr auto vvremainder = &platform::accelerate::vvremainder;
  static constexpr auto vvexp = &platform::accelerate::vvexp;
  static constexpr auto vvexp2 = &platform::accelerate::vvexp2;
  static constexpr auto vvsqrt = &platform::accelerate::vvsqrt;
  static constexpr auto axpy = &platform::accelerate::daxpy;
  static constexpr auto asum = &platform::accelerate::dasum;
  static constexpr auto scal = &platform::accelerate::dscal;
};

}  // namespace VectorMath
