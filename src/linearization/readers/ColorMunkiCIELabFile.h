#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// ColorMunki exports are recognised but cannot be read: reading one fails.
class ColorMunkiCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;
};

}  // namespace linearization
