#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/graphics/Color.h"

namespace linearization {

// The display colours of the ink channels, in the order of the ten-channel
// ink set K, C, M, Y, LC, LM, LK, LLK, OR, GR, then V. MK shares black.
const std::array<platform::graphics::Color, 11>& inkChannelColors();

// The colour at `position` of inkChannelColors; black for a position outside
// 0...10 rather than a read past the table.
platform::graphics::Color inkChannelColorAt(int64_t position);

// The colour of a channel from its marker line ("# K Curve"): spaces removed,
// lower-cased, compared with the table's keys; black for any other name.
platform::graphics::Color inkColorForCurveName(std::string_view markerLine);

}  // namespace linearization
