#include "platform/graphics/Image.h"

#include <stdexcept>

namespace platform::graphics {

Image::Image(int64_t width, int64_t height, std::vector<uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  if (width < 0 || height < 0) throw std::invalid_argument("Image: negative size");
  // Compare by division so that a huge width × height cannot overflow.
  const auto count = static_cast<int64_t>(pixels_.size());
  const bool matches = width == 0 || height == 0 ? count == 0 : count % width == 0 && count / width == height;
  if (!matches) throw std::invalid_argument("Image: pixel count is not width × height");
}

}  // namespace platform::graphics
