#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::graphics {

// A bitmap: width × height pixels in rows from the top, each a premultiplied
// ARGB word (0xAARRGGBB). Images are immutable and passed around shared:
// `std::shared_ptr<const Image>`.
class Image {
 public:
  // Throws std::invalid_argument when a side is negative or the pixel count
  // is not width × height.
  Image(int64_t width, int64_t height, std::vector<uint32_t> pixels);

  static std::shared_ptr<const Image> make(int64_t width, int64_t height, std::vector<uint32_t> pixels) {
    return std::make_shared<const Image>(width, height, std::move(pixels));
  }

  int64_t width() const { return width_; }
  int64_t height() const { return height_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }

 private:
  int64_t width_;
  int64_t height_;
  std::vector<uint32_t> pixels_;
};

}  // namespace platform::graphics
