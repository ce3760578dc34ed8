#pragma once

#include <cmath>
#include <cstdint>

#include "platform/graphics/Image.h"

// Reading the pixels that the Cairo tests draw.
namespace pixels {

// The pixel that covers the point (x, y): whole coordinates name a pixel
// directly, others are taken down to the pixel they fall in.
inline uint32_t pixelAt(const platform::graphics::Image& image, double x, double y) {
  return image.pixels()[static_cast<size_t>(std::floor(y)) * static_cast<size_t>(image.width()) +
                        static_cast<size_t>(std::floor(x))];
}
inline int red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int blue(uint32_t p) { return static_cast<int>(p & 0xFF); }
inline bool isDark(uint32_t p) { return red(p) < 128 && green(p) < 128 && blue(p) < 128; }

}  // namespace pixels
