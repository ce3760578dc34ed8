#include "platform/cairo/CairoImages.h"

#include <cairo.h>
// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoTextMetrics.h"

namespace platform::cairo {

using graphics::EncodedImage;
using graphics::Image;

namespace {

cairo_surface_t* surfaceOfFormat(const Image& image, cairo_format_t format) {
  if (image.width() < 1 || image.height() < 1 || image.width() > graphics::maxBitmapSide ||
      image.height() > graphics::maxBitmapSide)
    return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(format, static_cast<int>(image.width()),
                                                        static_cast<int>(image.height()));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int64_t row = 0; row < image.height(); ++row)
    std::memcpy(data + row * stride, &image.pixels()[static_cast<size_t>(row * image.width())],
                static_cast<size_t>(image.width()) * sizeof(uint32_t));
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace

cairo_surface_t* surfaceFromImage(const Image& image) { return surfaceOfFormat(image, CAIRO_FORMAT_ARGB32); }

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<EncodedImage*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// libjpeg reports a failure by calling error_exit, which must not return: it
// jumps back to the encoder.
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void jumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

void silence(j_common_ptr) {}

// Only plain data lives in this frame, so leaving it by longjmp skips no
// destructor.
bool encodeJpeg(const unsigned char* rgb, int width, int height, int quality, unsigned char** out,
                unsigned long* size) {
  jpeg_compress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jumpBack;
  error.manager.output_message = silence;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(info.next_scanline) * width * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::optional<EncodedImage> encodePNG(const Image& image) {
  // An opaque image (a chart drawn on a background) goes to Cairo as one
  // without alpha: written as the same RGB PNG, without Cairo looking at
  // every pixel's alpha and taking it out of the colours row by row.
  const auto& pixels = image.pixels();
  const bool opaque = std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) == 0xFF; });
  cairo_surface_t* surface = surfaceOfFormat(image, opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32);
  if (!surface) return std::nullopt;
  EncodedImage bytes;
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, appendBytes, &bytes);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) return std::nullopt;
  return bytes;
}

bool writePNG(const Image& image, const std::filesystem::path& path) {
  cairo_surface_t* surface = surfaceFromImage(image);
  if (!surface) return false;
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  return status == CAIRO_STATUS_SUCCESS;
}

std::optional<EncodedImage> encodeJPEG(const Image& image, double quality) {
  if (std::isnan(quality) || image.width() < 1 || image.height() < 1 || image.width() > graphics::maxBitmapSide ||
      image.height() > graphics::maxBitmapSide)
    return std::nullopt;
  const int width = static_cast<int>(image.width());
  const int height = static_cast<int>(image.height());
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < image.pixels().size(); ++i) {
    const uint32_t pixel = image.pixels()[i];
    rgb[i * 3] = static_cast<unsigned char>(pixel >> 16);
    rgb[i * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
    rgb[i * 3 + 2] = static_cast<unsigned char>(pixel);
  }
  unsigned char* out = nullptr;
  unsigned long size = 0;
  const int libjpegQuality = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100));
  const bool encoded = encodeJpeg(rgb.data(), width, height, libjpegQuality, &out, &size);
  std::optional<EncodedImage> bytes;
  if (encoded && out) bytes = EncodedImage(out, out + size);
  std::free(out);
  return bytes;
}

namespace {

graphics::ImageBackend cairoImageBackend() {
  return graphics::ImageBackend{
      [](int64_t width, int64_t height, bool opaque) -> std::unique_ptr<graphics::BitmapContext> {
        return CairoContext::create(width, height, opaque);
      },
      [](const Image& image) { return encodePNG(image); },
      [](const Image& image, double quality) { return encodeJPEG(image, quality); }};
}

}  // namespace

void installCairoBackend() {
  graphics::setImageBackend(cairoImageBackend());
  graphics::setCurrentTextMetrics(std::make_shared<CairoTextMetrics>());
}

ScopedCairoBackend::ScopedCairoBackend()
    : images_(cairoImageBackend()), metrics_(std::make_shared<CairoTextMetrics>()) {}

}  // namespace platform::cairo
