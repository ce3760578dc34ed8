#include "platform/cairo/CairoImages.h"

#include <cairo.h>
#include <png.h>
// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

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

// Premultiplied pixels, 0xAARRGGBB in native order (Cairo's ARGB32 and
// RGB24, and Image's), row by row `stride` bytes apart; `rgb` when the alpha
// bytes are to be ignored (RGB24) or are all 0xFF.
struct PngJob {
  const unsigned char* pixels;
  int width;
  int height;
  ptrdiff_t stride;
  bool rgb;
  unsigned char* row;  // width · 4 bytes, for one row as the file holds it
  EncodedImage* bytes;
};

// libpng reports a failure by calling the error function, which must not
// return: it jumps back to the encoder. Warnings are not printed.
void pngFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarned(png_structp, png_const_charp) {}

void pngAppend(png_structp png, png_bytep data, size_t length) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    job->bytes->insert(job->bytes->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  // Outside the handler: the jump leaves no exception behind.
  if (!appended) png_error(png, "out of memory");
}

void pngFlush(png_structp) {}

// One row as the file holds it: R, G, B (and the alpha taken out of the
// colours, rounded to the nearest, as Cairo's own writer does; a pixel with
// no alpha at all is 0, 0, 0, 0).
void fileRow(const PngJob& job, int y) {
  const auto* pixel = reinterpret_cast<const uint32_t*>(job.pixels + y * job.stride);
  unsigned char* to = job.row;
  if (job.rgb) {
    for (int x = 0; x < job.width; ++x, to += 3) {
      const uint32_t p = pixel[x];
      to[0] = static_cast<unsigned char>(p >> 16);
      to[1] = static_cast<unsigned char>(p >> 8);
      to[2] = static_cast<unsigned char>(p);
    }
    return;
  }
  for (int x = 0; x < job.width; ++x, to += 4) {
    const uint32_t p = pixel[x];
    const uint32_t alpha = p >> 24;
    if (alpha == 0) {
      to[0] = to[1] = to[2] = to[3] = 0;
      continue;
    }
    const auto straight = [alpha](uint32_t c) { return static_cast<unsigned char>((c * 255 + alpha / 2) / alpha); };
    to[0] = straight((p >> 16) & 0xFF);
    to[1] = straight((p >> 8) & 0xFF);
    to[2] = straight(p & 0xFF);
    to[3] = static_cast<unsigned char>(alpha);
  }
}

// Writes the PNG into job.bytes; false when libpng failed. Only plain data
// lives in this frame, so leaving it by longjmp skips no destructor.
//
// Compressed for speed: zlib's fastest level, and every row filtered as the
// difference from the row above. A chart is mostly flat colour; on the
// plots of 1600 × 1000 pixels this is 4 times as fast as libpng's defaults
// (level 6, each row's filter chosen among five) for files 1.1 to 1.3 times
// their size; no filter at all is a little faster but up to 1.6 times as
// large.
bool writePng(PngJob& job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailed, pngWarned);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &job, pngAppend, pngFlush);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_IHDR(png, info, static_cast<png_uint_32>(job.width), static_cast<png_uint_32>(job.height), 8,
               job.rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // A white background for viewers that show the alpha over one, as Cairo's
  // writer names it.
  png_color_16 white{};
  white.red = white.green = white.blue = white.gray = 0xFF;
  png_set_bKGD(png, info, &white);
  png_write_info(png, info);
  for (int y = 0; y < job.height; ++y) {
    fileRow(job, y);
    png_write_row(png, job.row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// The PNG of the pixels (see PngJob), RGB when `ignoreAlpha` or when every
// pixel is opaque, else RGBA; nothing when libpng fails or memory runs out.
std::optional<EncodedImage> encodePixels(const unsigned char* pixels, int64_t width, int64_t height,
                                         ptrdiff_t stride, bool ignoreAlpha) {
  if (width < 1 || height < 1 || width > graphics::maxBitmapSide || height > graphics::maxBitmapSide)
    return std::nullopt;
  bool rgb = true;
  for (int64_t y = 0; y < height && rgb && !ignoreAlpha; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(pixels + y * stride);
    rgb = std::all_of(row, row + width, [](uint32_t p) { return (p >> 24) == 0xFF; });
  }
  try {
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    EncodedImage bytes;
    PngJob job{pixels, static_cast<int>(width), static_cast<int>(height), stride, rgb, row.data(), &bytes};
    if (!writePng(job)) return std::nullopt;
    return bytes;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
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
  // An opaque image (a chart drawn on a background) is written as RGB.
  return encodePixels(reinterpret_cast<const unsigned char*>(image.pixels().data()), image.width(), image.height(),
                      static_cast<ptrdiff_t>(image.width() * sizeof(uint32_t)), false);
}

std::optional<EncodedImage> encodeSurfacePNG(cairo_surface_t* surface) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  cairo_surface_flush(surface);
  const bool image = cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE;
  const cairo_format_t format = image ? cairo_image_surface_get_format(surface) : CAIRO_FORMAT_INVALID;
  if (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24)
    return encodePixels(cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
                        cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface),
                        format == CAIRO_FORMAT_RGB24);
  EncodedImage bytes;
  if (cairo_surface_write_to_png_stream(surface, appendBytes, &bytes) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  return bytes;
}

bool writePNG(const Image& image, const std::filesystem::path& path) {
  const std::optional<EncodedImage> png = encodePNG(image);
  if (!png) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(png->data(), 1, png->size(), file) == png->size();
  return std::fclose(file) == 0 && written;
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
