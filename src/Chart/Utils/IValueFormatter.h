#pragma once

#include <cstdint>
#include <string>

namespace chart {

class ChartDataEntry;
class ViewPortHandler;

// Turns the y value of one entry into the text drawn beside it.
struct IValueFormatter {
  virtual ~IValueFormatter() = default;
  // The view-port handler may be absent.
  virtual std::string stringForValue(double value, const ChartDataEntry& entry, int64_t dataSetIndex,
                                     const ViewPortHandler* viewPortHandler) = 0;
};

}  // namespace chart
