#pragma once

#include <concepts>

#include "VectorMath/MemoryAccess.h"

namespace VectorMath {

// Picks the routine of T's precision, so that an operation is written once
// and binds both: byPrecision<T>(vvlogf, vvlog).
template <Real T, class ForFloat, class ForDouble>
constexpr auto byPrecision(ForFloat forFloat, ForDouble forDouble) {
  if constexpr (std::same_as<T, float>)
    return forFloat;
  else
    return forDouble;
}

}  // namespace VectorMath
