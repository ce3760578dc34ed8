#pragma once

#include <cstdint>

#include "platform/graphics/Image.h"

// Reading the pixels that the Cairo tests draw.
namespace pixels {

inline uint32_t pixelAt(const platform::graphics::Image& image, int64_t x, int64_t y) {
  return image.pixels()[static_cast<size_t>(y * image.width() + x)];
}
inline int red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int blue(uint32_t p) { return static_cast<int>(p & 0xFF); }
inline bool isDark(uint32_t p) { return red(p) < 128 && green(p) < 128 && blue(p) < 128; }

}  // namespace pixels
