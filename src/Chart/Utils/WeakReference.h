#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "Chart/Utils/Diagnostics.h"

namespace chart {

// Whether a weak pointer was made from an owner that is already gone, as
// opposed to an empty one (which stands for "none").
template <class T>
bool isDangling(const std::weak_ptr<T>& pointer) {
  const std::weak_ptr<T> none;
  return pointer.expired() && (pointer.owner_before(none) || none.owner_before(pointer));
}

// For the objects that hold their chart (or chart view) weakly: stores
// `given` in `slot`, unless it points at an owner that is already gone. That
// one is refused, with the line "<where>: refused a <what> that is already
// gone (it is held weakly: its owner must keep it alive)", and `slot` keeps
// what it held.
template <class T>
void storeWeakly(std::weak_ptr<T>& slot, std::weak_ptr<T> given, std::string_view where, std::string_view what) {
  if (isDangling(given)) {
    log(std::string(where) + ": refused a " + std::string(what) +
        " that is already gone (it is held weakly: its owner must keep it alive)");
    return;
  }
  slot = std::move(given);
}

}  // namespace chart
