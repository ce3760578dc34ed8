#include "Chart/Data/ChartDataEntryBase.h"

#include "platform/text/Text.h"

namespace chart {

bool ChartDataEntryBase::isEqual(const ChartDataEntryBase* other) const {
  if (other == nullptr) return false;
  if (other == this) return true;
  return other->y() == y();
}

std::string ChartDataEntryBase::description() const {
  return "ChartDataEntryBase, y " + platform::text::shortestDescription(y());
}

}  // namespace chart
