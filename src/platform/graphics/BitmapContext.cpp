#include "platform/graphics/BitmapContext.h"

namespace platform::graphics {

namespace {

ImageBackend withDefaults(ImageBackend backend) {
  if (!backend.makeBitmap)
    backend.makeBitmap = [](int64_t width, int64_t height, bool) -> std::unique_ptr<BitmapContext> {
      return std::make_unique<RecordingBitmapContext>(width, height);
    };
  if (!backend.pngData) backend.pngData = [](const Image&) { return std::optional<EncodedImage>(); };
  if (!backend.jpegData) backend.jpegData = [](const Image&, double) { return std::optional<EncodedImage>(); };
  return backend;
}

ImageBackend& installed() {
  static ImageBackend backend = withDefaults({});
  return backend;
}

}  // namespace

std::shared_ptr<const Image> RecordingBitmapContext::makeImage(double scale) const {
  return Image::make(width_, height_, std::vector<uint32_t>(static_cast<size_t>(width_ * height_), 0u), scale);
}

const ImageBackend& imageBackend() { return installed(); }

ImageBackend setImageBackend(ImageBackend backend) {
  ImageBackend previous = std::move(installed());
  installed() = withDefaults(std::move(backend));
  return previous;
}

std::unique_ptr<BitmapContext> makeBitmapContext(int64_t pixelWidth, int64_t pixelHeight, bool opaque) {
  if (pixelWidth < 1 || pixelHeight < 1 || pixelWidth > maxBitmapSide || pixelHeight > maxBitmapSide) return nullptr;
  return installed().makeBitmap(pixelWidth, pixelHeight, opaque);
}

std::optional<EncodedImage> pngData(const Image& image) { return installed().pngData(image); }

std::optional<EncodedImage> jpegData(const Image& image, double quality) {
  return installed().jpegData(image, quality);
}

}  // namespace platform::graphics
