#include "platform/graphics/DrawingContext.h"

namespace platform::graphics {

std::optional<LineCap> lineCapFromRaw(int raw) {
  if (raw < 0 || raw > 2) return std::nullopt;
  return static_cast<LineCap>(raw);
}

}  // namespace platform::graphics
