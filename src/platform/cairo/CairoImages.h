#pragma once

#include <filesystem>
#include <optional>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextMetrics.h"

struct _cairo_surface;

namespace platform::cairo {

// PNG of the image: 8-bit RGB when every pixel is opaque, else RGBA with the
// alpha taken out of the colours (each rounded to the nearest); the pixels
// read back exactly as Cairo's own PNG writer gives them, in a file
// compressed for speed rather than size. Nothing for an image without pixels
// or one larger than a bitmap may be.
std::optional<graphics::EncodedImage> encodePNG(const graphics::Image& image);
// The same for a Cairo surface, from its own pixels (no copy of them is
// made): an RGB24 surface as RGB, an ARGB32 one as encodePNG writes it. A
// surface of another format is written by Cairo's own writer. Nothing for a
// surface in an error state or one that cannot be encoded.
std::optional<graphics::EncodedImage> encodeSurfacePNG(_cairo_surface* surface);
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
