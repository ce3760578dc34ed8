#include "platform/cairo/CairoImages.h"

#include <cairo.h>
#include <zlib.h>
// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

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
struct Pixels {
  const unsigned char* data;
  int64_t width;
  int64_t height;
  ptrdiff_t stride;
  bool rgb;
  size_t rowBytes() const { return static_cast<size_t>(width) * (rgb ? 3 : 4); }
};

// One row as the file holds it: R, G, B (and the alpha taken out of the
// colours, rounded to the nearest, as Cairo's own writer does; a pixel with
// no alpha at all is 0, 0, 0, 0).
void fileRow(const Pixels& pixels, int64_t y, unsigned char* to) {
  const auto* pixel = reinterpret_cast<const uint32_t*>(pixels.data + y * pixels.stride);
  if (pixels.rgb) {
    for (int64_t x = 0; x < pixels.width; ++x, to += 3) {
      const uint32_t p = pixel[x];
      to[0] = static_cast<unsigned char>(p >> 16);
      to[1] = static_cast<unsigned char>(p >> 8);
      to[2] = static_cast<unsigned char>(p);
    }
    return;
  }
  for (int64_t x = 0; x < pixels.width; ++x, to += 4) {
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

// A band of rows compressed on its own: raw deflate data that ends on a byte
// boundary (the last band's ends the stream), and the Adler-32 sum and
// length of what it compressed.
struct Band {
  int64_t from = 0, to = 0;
  // The deflate data: `size` bytes, in room for the most it could take,
  // left untouched (and so never faulted in) beyond what was written.
  std::unique_ptr<unsigned char[]> deflated;
  size_t size = 0;
  uLong adler = 1;
  uLong length = 0;
  bool ok = false;
};

// Compresses rows from...to, each as the file holds it after its filter
// byte: "up", the difference from the row above (the band's first row from
// the last row of the band before, so that the bands join into one image).
// zlib's fastest level: a chart is mostly flat colour, and on the plots of
// 1600 × 1000 pixels this gives files 1.1 to 1.3 times the size of libpng's
// defaults (level 6, each row's filter chosen among five) at a quarter of
// the time; no filter at all is a little faster but up to 1.6 times as large.
void deflateBand(const Pixels& pixels, Band& band, bool last) {
  z_stream z{};
  if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
  try {
    const size_t rowBytes = pixels.rowBytes();
    // Rows go to zlib sixteen at a time, each after its filter byte.
    constexpr int64_t kRows = 16;
    std::vector<unsigned char> above(pixels.rgb ? 0 : rowBytes, 0), row(pixels.rgb ? 0 : rowBytes);
    std::vector<unsigned char> chunk((rowBytes + 1) * kRows);
    if (band.from > 0 && !pixels.rgb) fileRow(pixels, band.from - 1, above.data());
    const size_t room = deflateBound(&z, static_cast<uLong>((rowBytes + 1) * (band.to - band.from))) + 16;
    band.deflated = std::make_unique_for_overwrite<unsigned char[]>(room);
    z.next_out = band.deflated.get();
    z.avail_out = static_cast<uInt>(room);
    for (int64_t y = band.from; y < band.to;) {
      unsigned char* at = chunk.data();
      const int64_t end = std::min(band.to, y + kRows);
      for (; y < end; ++y) {
        *at++ = 2;  // up
        if (pixels.rgb) {
          // Straight from the pixels: each colour byte less the one above.
          const auto* pixel = reinterpret_cast<const uint32_t*>(pixels.data + y * pixels.stride);
          const auto* up = y > 0 ? reinterpret_cast<const uint32_t*>(pixels.data + (y - 1) * pixels.stride) : pixel;
          const uint32_t keep = y > 0 ? 0xFFFFFFFFu : 0;
          for (int64_t x = 0; x < pixels.width; ++x, at += 3) {
            const uint32_t p = pixel[x], q = up[x] & keep;
            at[0] = static_cast<unsigned char>((p >> 16) - (q >> 16));
            at[1] = static_cast<unsigned char>((p >> 8) - (q >> 8));
            at[2] = static_cast<unsigned char>(p - q);
          }
          continue;
        }
        fileRow(pixels, y, row.data());
        for (size_t i = 0; i < rowBytes; ++i) at[i] = static_cast<unsigned char>(row[i] - above[i]);
        at += rowBytes;
        above.swap(row);
      }
      const auto length = static_cast<uInt>(at - chunk.data());
      band.adler = adler32(band.adler, chunk.data(), length);
      band.length += length;
      z.next_in = chunk.data();
      z.avail_in = length;
      const int flush = y < band.to ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
      const int status = deflate(&z, flush);
      if (status == Z_STREAM_ERROR || z.avail_in != 0 || (flush == Z_FINISH && status != Z_STREAM_END)) {
        deflateEnd(&z);
        return;
      }
    }
    band.size = room - z.avail_out;
    band.ok = true;
  } catch (const std::bad_alloc&) {
  }
  deflateEnd(&z);
}

void appendBigEndian(EncodedImage& bytes, uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

// One chunk of the file: its length, type, data and CRC. `data` may be split
// in two parts (a part may be empty).
void appendChunk(EncodedImage& bytes, const char* type, const unsigned char* data, size_t length,
                 const unsigned char* more = nullptr, size_t moreLength = 0) {
  appendBigEndian(bytes, static_cast<uint32_t>(length + moreLength));
  const size_t start = bytes.size();
  bytes.insert(bytes.end(), type, type + 4);
  bytes.insert(bytes.end(), data, data + length);
  if (moreLength > 0) bytes.insert(bytes.end(), more, more + moreLength);
  appendBigEndian(bytes, static_cast<uint32_t>(crc32(0, bytes.data() + start, static_cast<uInt>(bytes.size() - start))));
}

// The PNG of the pixels, RGB or RGBA: the image data compressed in bands on
// several threads where the image is large enough to pay for them (each
// band's deflate data starts anew and all but the last end on a byte
// boundary, so that joined they are one zlib stream), written in one IDAT
// chunk a band, with a white background named for viewers that show the
// alpha over one, as Cairo's writer names it.
std::optional<EncodedImage> writePng(const Pixels& pixels) {
  // The bands depend on the image alone, so that a file is the same bytes on
  // every machine; the threads that compress them on how many it has.
  constexpr int64_t kLeastBandPixels = 100'000, kMostBands = 8;
  const int64_t count =
      std::clamp<int64_t>(pixels.width * pixels.height / kLeastBandPixels, 1, std::min(kMostBands, pixels.height));
  std::vector<Band> bands(static_cast<size_t>(count));
  for (int64_t b = 0; b < count; ++b) {
    bands[static_cast<size_t>(b)].from = pixels.height * b / count;
    bands[static_cast<size_t>(b)].to = pixels.height * (b + 1) / count;
  }
  {
    std::atomic<size_t> next = 0;
    const auto work = [&pixels, &bands, &next] {
      for (size_t b; (b = next++) < bands.size();) deflateBand(pixels, bands[b], b + 1 == bands.size());
    };
    const auto threads = std::min<size_t>(bands.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::jthread> helpers;
    try {
      while (helpers.size() + 1 < threads) helpers.emplace_back(work);
    } catch (const std::system_error&) {
      // Fewer threads to be had: the others take more bands.
    }
    work();
  }
  if (!std::all_of(bands.begin(), bands.end(), [](const Band& band) { return band.ok; })) return std::nullopt;
  uLong adler = bands[0].adler;
  for (size_t b = 1; b < bands.size(); ++b)
    adler = adler32_combine(adler, bands[b].adler, static_cast<z_off_t>(bands[b].length));

  EncodedImage bytes;
  size_t size = 64;
  for (const Band& band : bands) size += band.size + 12;
  bytes.reserve(size);
  const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  bytes.insert(bytes.end(), std::begin(signature), std::end(signature));
  EncodedImage header;
  appendBigEndian(header, static_cast<uint32_t>(pixels.width));
  appendBigEndian(header, static_cast<uint32_t>(pixels.height));
  // 8 bits a sample, RGB (2) or RGBA (6), deflate, adaptive filters, no interlace.
  for (const unsigned char b : {8, pixels.rgb ? 2 : 6, 0, 0, 0}) header.push_back(b);
  appendChunk(bytes, "IHDR", header.data(), header.size());
  const unsigned char white[] = {0, 0xFF, 0, 0xFF, 0, 0xFF};
  appendChunk(bytes, "bKGD", white, sizeof white);
  // The zlib header: deflate with a 32 KiB window, the fastest level.
  const unsigned char zlibHeader[] = {0x78, 0x01};
  EncodedImage sum;
  appendBigEndian(sum, static_cast<uint32_t>(adler));
  for (size_t b = 0; b < bands.size(); ++b) {
    const unsigned char* data = bands[b].deflated.get();
    const size_t length = bands[b].size;
    if (b == 0 && bands.size() == 1) {
      EncodedImage whole(std::begin(zlibHeader), std::end(zlibHeader));
      whole.insert(whole.end(), data, data + length);
      appendChunk(bytes, "IDAT", whole.data(), whole.size(), sum.data(), sum.size());
    } else if (b == 0) {
      appendChunk(bytes, "IDAT", zlibHeader, sizeof zlibHeader, data, length);
    } else if (b + 1 == bands.size()) {
      appendChunk(bytes, "IDAT", data, length, sum.data(), sum.size());
    } else {
      appendChunk(bytes, "IDAT", data, length);
    }
  }
  appendChunk(bytes, "IEND", nullptr, 0);
  return bytes;
}

// The PNG of the pixels (see Pixels), RGB when `ignoreAlpha` or when every
// pixel is opaque, else RGBA; nothing when memory runs out.
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
    return writePng(Pixels{pixels, width, height, stride, rgb});
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
