#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform::graphics {

// A bitmap: width × height pixels in rows from the top, each a premultiplied
// ARGB word (0xAARRGGBB), shown at `scale` pixels a point. Images are
// immutable and passed around shared: `std::shared_ptr<const Image>`.
class Image {
 public:
  // Throws std::invalid_argument when a side is negative, the pixel count is
  // not width × height, or the scale is not a positive finite number.
  Image(int64_t width, int64_t height, std::vector<uint32_t> pixels, double scale = 1.0);

  static std::shared_ptr<const Image> make(int64_t width, int64_t height, std::vector<uint32_t> pixels,
                                           double scale = 1.0) {
    return std::make_shared<const Image>(width, height, std::move(pixels), scale);
  }

  // In pixels.
  int64_t width() const { return width_; }
  int64_t height() const { return height_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }
  double scale() const { return scale_; }
  // In points: the pixel size divided by the scale.
  Size size() const;

  // Images kept with the image under a key (a resized copy, say): the last
  // maxAssociatedImages set or found, each until newer ones push it out or
  // the image goes. They are no part of the image's value, so an immutable
  // image carries them too; a lock guards them, so threads that share an
  // image may draw with it at once.
  static constexpr size_t maxAssociatedImages = 4;
  std::shared_ptr<const Image> associatedImage(const std::string& key) const;
  void setAssociatedImage(const std::string& key, std::shared_ptr<const Image> image) const;

 private:
  int64_t width_;
  int64_t height_;
  std::vector<uint32_t> pixels_;
  double scale_;
  mutable std::mutex associatedLock_;
  // The most recently set or found first.
  mutable std::vector<std::pair<std::string, std::shared_ptr<const Image>>> associated_;
};

}  // namespace platform::graphics
