#include "Chart/Utils/ChartUtils.h"

#include "Chart/Utils/DefaultValueFormatter.h"

namespace chart {

std::shared_ptr<IValueFormatter> ChartUtils::defaultValueFormatter() {
  static const std::shared_ptr<IValueFormatter> shared = std::make_shared<DefaultValueFormatter>(1);
  return shared;
}

}  // namespace chart
