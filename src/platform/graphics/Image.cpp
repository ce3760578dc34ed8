#include "platform/graphics/Image.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace platform::graphics {

Image::Image(int64_t width, int64_t height, std::vector<uint32_t> pixels, double scale)
    : width_(width), height_(height), pixels_(std::move(pixels)), scale_(scale) {
  if (width < 0 || height < 0) throw std::invalid_argument("Image: negative size");
  // Compare by division so that a huge width × height cannot overflow.
  const auto count = static_cast<int64_t>(pixels_.size());
  const bool matches = width == 0 || height == 0 ? count == 0 : count % width == 0 && count / width == height;
  if (!matches) throw std::invalid_argument("Image: pixel count is not width × height");
  if (!(std::isfinite(scale) && scale > 0)) throw std::invalid_argument("Image: scale must be positive");
}

Size Image::size() const {
  return Size{static_cast<double>(width_) / scale_, static_cast<double>(height_) / scale_};
}

std::shared_ptr<const Image> Image::associatedImage(const std::string& key) const {
  const std::lock_guard lock(associatedLock_);
  const auto found = std::find_if(associated_.begin(), associated_.end(),
                                  [&](const auto& entry) { return entry.first == key; });
  if (found == associated_.end()) return nullptr;
  std::rotate(associated_.begin(), found, found + 1);
  return associated_.front().second;
}

void Image::setAssociatedImage(const std::string& key, std::shared_ptr<const Image> image) const {
  std::shared_ptr<const Image> pushedOut;  // let go of outside the lock
  {
    const std::lock_guard lock(associatedLock_);
    std::erase_if(associated_, [&](const auto& entry) { return entry.first == key; });
    associated_.insert(associated_.begin(), {key, std::move(image)});
    if (associated_.size() > maxAssociatedImages) {
      pushedOut = std::move(associated_.back().second);
      associated_.pop_back();
    }
  }
}

}  // namespace platform::graphics
