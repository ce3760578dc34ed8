#include "Chart/Data/ChartDataEntry.h"

#include "platform/text/Text.h"

namespace chart {

bool ChartDataEntry::isEqual(const ChartDataEntryBase* other) const {
  const auto* entry = dynamic_cast<const ChartDataEntry*>(other);
  if (entry == nullptr) return false;
  if (entry == this) return true;
  return entry->y() == y() && entry->x() == x();
}

std::string ChartDataEntry::description() const {
  using platform::text::shortestDescription;
  return "ChartDataEntry, x: " + shortestDescription(x()) + ", y " + shortestDescription(y());
}

std::shared_ptr<ChartDataEntry> ChartDataEntry::copy() const {
  auto copied = makeEmpty();
  copyInto(*copied);
  return copied;
}

void ChartDataEntry::copyInto(ChartDataEntry& target) const {
  target.setX(x());
  target.setY(y());
  target.setData(data());
}

}  // namespace chart
