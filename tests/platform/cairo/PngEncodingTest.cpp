#include <gtest/gtest.h>

#include <cairo.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/cairo/CairoImages.h"

using platform::graphics::EncodedImage;

namespace {

// A PNG's samples exactly as the file holds them (no conversion), with its
// colour type and size.
struct Samples {
  png_uint_32 format = 0, width = 0, height = 0;
  std::vector<png_byte> bytes;
  bool operator==(const Samples&) const = default;
};

std::optional<Samples> samplesOf(const EncodedImage& png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return std::nullopt;
  Samples samples{image.format, image.width, image.height, std::vector<png_byte>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, samples.bytes.data(), 0, nullptr)) return std::nullopt;
  return samples;
}

EncodedImage cairosOwnPng(cairo_surface_t* surface) {
  EncodedImage bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* to = static_cast<EncodedImage*>(closure);
        to->insert(to->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  return bytes;
}

// Lines, translucent circles, a gradient and text, on whatever is there.
void drawScene(cairo_surface_t* surface) {
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 300, 0);
  cairo_pattern_add_color_stop_rgba(gradient, 0, 0.9, 0.2, 0.1, 0.1);
  cairo_pattern_add_color_stop_rgba(gradient, 1, 0.1, 0.3, 0.9, 0.9);
  cairo_set_source(cr, gradient);
  cairo_rectangle(cr, 0, 150, 300, 50);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
  for (int i = 0; i < 12; ++i) {
    cairo_set_source_rgba(cr, i / 12.0, 0.5, 1 - i / 12.0, (i + 1) / 13.0);
    cairo_arc(cr, 20 + i * 22, 60 + (i % 3) * 20, 17, 0, 6.3);
    cairo_fill(cr);
  }
  cairo_set_source_rgba(cr, 0.1, 0.1, 0.1, 0.8);
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, 3, 140);
  cairo_curve_to(cr, 100, 10, 200, 190, 297, 20);
  cairo_stroke(cr);
  cairo_move_to(cr, 10, 30);
  cairo_set_font_size(cr, 18);
  cairo_show_text(cr, "L* 94.80 Dmax 2.24");
  cairo_destroy(cr);
}

void paintWhite(cairo_surface_t* surface) {
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
}

// Each pixel of the surface set by `pixel(x, y)`, 0xAARRGGBB premultiplied.
template <typename F>
void setPixels(cairo_surface_t* surface, F pixel) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < cairo_image_surface_get_height(surface); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(surface); ++x) {
      const uint32_t p = pixel(x, y);
      std::memcpy(data + y * cairo_image_surface_get_stride(surface) + x * 4, &p, 4);
    }
  cairo_surface_mark_dirty(surface);
}

}  // namespace

// The PNG of a surface reads back as exactly the samples Cairo's own writer
// gives it (colours with the alpha taken out, rounded as it rounds them), in
// the same colour type: RGB (2) for an opaque surface or one whose pixels are
// all opaque, RGBA (6) otherwise; a format the encoder leaves to Cairo is
// Cairo's file byte for byte.
TEST(PngEncoding, ReadsBackAsCairosOwnWriterWritesIt) {
  struct Case {
    const char* name;
    cairo_format_t format;
    int width, height;
    void (*draw)(cairo_surface_t*);
    int colourType;
  };
  const Case cases[] = {
      {"opaque surface, drawn", CAIRO_FORMAT_RGB24, 300, 200, [](cairo_surface_t* s) { drawScene(s); }, 2},
      {"opaque surface whose unused byte holds anything", CAIRO_FORMAT_RGB24, 300, 200,
       [](cairo_surface_t* s) {
         drawScene(s);
         cairo_surface_flush(s);
         const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
         std::vector<uint32_t> drawn(data, data + 300 * 200);
         setPixels(s, [&](int x, int y) { return (drawn[y * 300 + x] & 0xFFFFFFu) | uint32_t(x * 7 + y) << 24; });
       },
       2},
      {"surface with alpha, drawn on nothing", CAIRO_FORMAT_ARGB32, 300, 200,
       [](cairo_surface_t* s) { drawScene(s); }, 6},
      {"surface with alpha, drawn over white", CAIRO_FORMAT_ARGB32, 300, 200,
       [](cairo_surface_t* s) {
         paintWhite(s);
         drawScene(s);
       },
       2},
      // Row a: alpha a, red every value up to a, green and blue the others'
      // complements within a.
      {"every premultiplied red of every alpha", CAIRO_FORMAT_ARGB32, 256, 256,
       [](cairo_surface_t* s) {
         setPixels(s, [](int x, int y) {
           const uint32_t a = y, c = std::min(x, y);
           return a << 24 | c << 16 | (a - c) << 8 | c / 2;
         });
       },
       6},
      {"one transparent pixel", CAIRO_FORMAT_ARGB32, 1, 1, [](cairo_surface_t*) {}, 6},
      {"one opaque pixel", CAIRO_FORMAT_ARGB32, 1, 1, [](cairo_surface_t* s) { paintWhite(s); }, 2},
      {"alpha only, left to Cairo", CAIRO_FORMAT_A8, 120, 80, [](cairo_surface_t* s) { drawScene(s); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cairo_surface_t* surface = cairo_image_surface_create(c.format, c.width, c.height);
    c.draw(surface);
    const std::optional<EncodedImage> ours = platform::cairo::encodeSurfacePNG(surface);
    const EncodedImage cairos = cairosOwnPng(surface);
    cairo_surface_destroy(surface);
    ASSERT_TRUE(ours);
    ASSERT_GT(ours->size(), 25u);
    EXPECT_EQ((*ours)[25], c.colourType);
    EXPECT_EQ((*ours)[25], cairos[25]);
    const auto read = samplesOf(*ours), expected = samplesOf(cairos);
    ASSERT_TRUE(read && expected);
    EXPECT_EQ(read->width, static_cast<png_uint_32>(c.width));
    EXPECT_TRUE(*read == *expected);
    if (c.format == CAIRO_FORMAT_A8) {
      EXPECT_EQ(*ours, cairos);
    }
  }
  // A surface Cairo could not make encodes to nothing.
  cairo_surface_t* failed = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, -1, 10);
  EXPECT_EQ(platform::cairo::encodeSurfacePNG(failed), std::nullopt);
  cairo_surface_destroy(failed);
  EXPECT_EQ(platform::cairo::encodeSurfacePNG(nullptr), std::nullopt);
}
