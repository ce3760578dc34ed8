#pragma once

#include <filesystem>
#include <optional>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextMetrics.h"

struct _cairo_surface;

namespace platform::cairo {

// PNG of the image (with its alpha); nothing for an image without pixels or
// one Cairo cannot hold.
std::optional<graphics::EncodedImage> encodePNG(const graphics::Image& image);
// Writes the PNG to the file; false when it could not be made or written.
bool writePNG(const graphics::Image& image, const std::filesystem::path& path);
// Baseline JPEG at libjpeg's quality of `quality` · 100 (clamped to 0...1; a
// quality that is not a number gives nothing). JPEG has no alpha: the
// premultiplied colours are kept, which is the image over black.
std::optional<graphics::EncodedImage> encodeJPEG(const graphics::Image& image, double quality);

// Makes Cairo the back end of the drawing layer: image contexts get Cairo
// bitmaps, images encode to PNG and JPEG, and text is measured by
// CairoTextMetrics (the installed metrics, which chart views made from then
// on start with; a view drawn into a Cairo context measures with Cairo's
// fonts whether or not the back end is installed). Install it before other
// threads draw.
void installCairoBackend();

// Cairo as that back end for one scope; the back end and metrics in force
// before come back when it ends.
class ScopedCairoBackend {
 public:
  ScopedCairoBackend();

 private:
  graphics::ScopedImageBackend images_;
  graphics::ScopedTextMetrics metrics_;
};

// A new Cairo surface holding a copy of the image's pixels, or nullptr for an
// image without pixels or one larger than a bitmap may be.
_cairo_surface* surfaceFromImage(const graphics::Image& image);

}  // namespace platform::cairo
