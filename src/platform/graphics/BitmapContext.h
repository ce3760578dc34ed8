#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ScopedSetting.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/RecordingContext.h"

namespace platform::graphics {

// An offscreen bitmap of a fixed pixel size with a context that draws into
// it, one point a pixel until the context is scaled.
class BitmapContext {
 public:
  virtual ~BitmapContext() = default;
  virtual DrawingContext& drawingContext() = 0;
  virtual int64_t pixelWidth() const = 0;
  virtual int64_t pixelHeight() const = 0;
  // The pixels drawn so far, as an image shown at `scale` pixels a point.
  virtual std::shared_ptr<const Image> makeImage(double scale) const = 0;
};

// The bitmap of a program without a raster back end: it records what is drawn
// and its image is transparent, of the right size.
class RecordingBitmapContext : public RecordingContext, public BitmapContext {
 public:
  RecordingBitmapContext(int64_t pixelWidth, int64_t pixelHeight)
      : RecordingContext(Size{static_cast<double>(pixelWidth), static_cast<double>(pixelHeight)}),
        width_(pixelWidth),
        height_(pixelHeight) {}
  DrawingContext& drawingContext() override { return *this; }
  int64_t pixelWidth() const override { return width_; }
  int64_t pixelHeight() const override { return height_; }
  std::shared_ptr<const Image> makeImage(double scale) const override;

 private:
  int64_t width_;
  int64_t height_;
};

using EncodedImage = std::vector<uint8_t>;

// What turns images into pixels and files. The std-only default makes
// RecordingBitmapContexts and encodes nothing; the Cairo back end installs
// real bitmaps and the PNG and JPEG encoders.
struct ImageBackend {
  // A bitmap of the pixel size (both at least 1), transparent or, when
  // `opaque`, without alpha; nullptr when it cannot be made.
  std::function<std::unique_ptr<BitmapContext>(int64_t pixelWidth, int64_t pixelHeight, bool opaque)> makeBitmap;
  std::function<std::optional<EncodedImage>(const Image& image)> pngData;
  // `quality` from 0 (smallest file) to 1 (best picture).
  std::function<std::optional<EncodedImage>(const Image& image, double quality)> jpegData;
};

// The back end in force. Any thread may read it (a chart view's draw makes
// bitmaps through it on the view's thread).
const ImageBackend& imageBackend();
// Installs `backend` (its empty members take the defaults) and returns the
// one that was in force; install it before other threads use it.
ImageBackend setImageBackend(ImageBackend backend);
// Another back end (empty members: the defaults) for one scope.
using ScopedImageBackend = ScopedSetting<ImageBackend, &setImageBackend>;

// The longest side a bitmap may have (Cairo's limit).
inline constexpr int64_t maxBitmapSide = 32767;

// Through the back end in force; nothing when a side is below 1 or above
// maxBitmapSide, or when the back end cannot make or encode it.
std::unique_ptr<BitmapContext> makeBitmapContext(int64_t pixelWidth, int64_t pixelHeight, bool opaque);
std::optional<EncodedImage> pngData(const Image& image);
std::optional<EncodedImage> jpegData(const Image& image, double quality);

}  // namespace platform::graphics
