#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/NSUIGraphics.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"
#include "platform/cairo/CairoTextMetrics.h"
#include "support/PixelSupport.h"
#include "platform/graphics/Layer.h"
#include "platform/graphics/RecordingContext.h"
#include "support/CairoBackendFixture.h"
#include "support/FakeHost.h"

using namespace platform::graphics;
using platform::cairo::CairoContext;
using platform::cairo::CairoTextMetrics;
using namespace pixels;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

const Color kRed = Color::rgb(1, 0, 0);
const Color kGreen = Color::rgb(0, 1, 0);
const Color kBlue = Color::rgb(0, 0, 1);

struct ByteReader {
  const EncodedImage* bytes;
  size_t offset = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<ByteReader*>(closure);
  if (reader->offset + length > reader->bytes->size()) return CAIRO_STATUS_READ_ERROR;
  std::copy_n(reader->bytes->data() + reader->offset, length, data);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

// Decodes PNG bytes back into an image (empty on failure).
std::shared_ptr<const Image> decodePNG(const EncodedImage& bytes) {
  ByteReader reader{&bytes};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readBytes, &reader);
  std::shared_ptr<const Image> image;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      std::memcpy(&pixels[static_cast<size_t>(y) * w], cairo_image_surface_get_data(surface) + y * stride,
                  static_cast<size_t>(w) * 4);
    image = Image::make(w, h, std::move(pixels));
  }
  cairo_surface_destroy(surface);
  return image;
}

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};
void jpegFailed(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1); }

// Width, height and components of decoded JPEG bytes; all 0 when they do not
// decode.
struct JpegShape {
  int width = 0, height = 0, components = 0;
};
JpegShape decodeJPEG(const EncodedImage& bytes) {
  jpeg_decompress_struct info;
  JpegFailure failure;
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = jpegFailed;
  JpegShape shape;
  if (setjmp(failure.jump)) {
    jpeg_destroy_decompress(&info);
    return JpegShape{};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  std::vector<unsigned char> row(static_cast<size_t>(info.output_width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
  }
  shape = JpegShape{static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    info.output_components};
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return shape;
}

}  // namespace

// A small chart-like scene in real pixels, with a not-a-number coordinate and
// a zero scale half-way through that must not stop what comes after.
TEST_F(CairoBackend, RendersASceneToPNGAndKeepsDrawingAfterBadGeometry) {
  auto ctx = CairoContext::create(240, 160);
  ASSERT_TRUE(ctx);
  ctx->setFillColor(Color::white());
  ctx->fillRect(Rect(0, 0, 240, 160));

  // The fill of a measurement graph: a gradient at 270° runs from the top of
  // its rectangle (first colour) to the bottom, clipped to the area.
  ctx->saveGState();
  ctx->clipToRect(Rect(10, 10, 60, 60));
  ctx->drawLinearGradient(Gradient{{{kRed, 0}, {kBlue, 1}}}, {40, 10}, {40, 70},
                          GradientOptions::drawsBeforeStart | GradientOptions::drawsAfterEnd);
  ctx->restoreGState();

  // A filled triangle and its outline.
  ctx->setFillColor(kGreen);
  ctx->setStrokeColor(Color::black());
  ctx->beginPath();
  ctx->moveTo({90, 70});
  ctx->addLineTo({120, 10});
  ctx->addLineTo({150, 70});
  ctx->closePath();
  ctx->fillPath();
  ctx->strokeRect(Rect(88.5, 8.5, 64, 64));

  // The bad calls: not-a-number path points, a zero scale and a not-a-number
  // translation, an all-zero dash.
  ctx->saveGState();
  ctx->beginPath();
  ctx->moveTo({kNaN, 5});
  ctx->addLineTo({20, kNaN});
  ctx->strokePath();
  ctx->scaleBy(0, 0);
  ctx->translateBy(kNaN, 0);
  ctx->setLineDash(0, {0, 0});
  ctx->fillRect(Rect(kNaN, 0, 10, 10));
  ctx->restoreGState();
  ASSERT_FALSE(ctx->isInErrorState());
  EXPECT_EQ(ctx->firstDrop(), (Drop{DropReason::invalidGeometry, "moveTo"}));
  ctx->clearDrops();

  // A dashed line, and a solid one with antialiasing off: a 2-point line on
  // y = 100 covers exactly rows 99 and 100.
  ctx->saveGState();
  ctx->setStrokeColor(kBlue);
  ctx->setLineDash(0, {6, 4});
  ctx->strokeLineSegments({{10, 85}, {230, 85}});
  ctx->restoreGState();
  ctx->saveGState();
  ctx->setShouldAntialias(false);
  ctx->setLineWidth(2);
  ctx->setStrokeColor(kRed);
  ctx->strokeLineSegments({{10, 100}, {230, 100}});
  ctx->restoreGState();

  // An image: 2 × 2 pixels stretched over 20 × 20 points.
  const auto checker = Image::make(2, 2, {0xFF0000FFu, 0xFFFFFF00u, 0xFFFFFF00u, 0xFF0000FFu});
  ctx->drawImage(*checker, Rect(200, 10, 20, 20));

  // Text through the chart utilities: right-aligned, and turned a quarter.
  const TextAttributes label{Font::systemFont(14), Color::black(), std::nullopt};
  chart::ChartUtils::drawText(*ctx, "Dmax", {230, 120}, TextAlignment::right, label);
  chart::ChartUtils::drawText(*ctx, "ink %", {180, 50}, label, {0.5, 0.5}, std::numbers::pi / 2);
  const Point textOrigin{20, 120};
  ctx->drawText("Chart 42", textOrigin, label);
  ASSERT_FALSE(ctx->isInErrorState());
  EXPECT_FALSE(ctx->hasDropped());

  const auto image = ctx->makeImage(1);
  const auto path = testsupport::testOutputFolder() / "cairo-scene.png";
  ASSERT_TRUE(platform::cairo::writePNG(*image, path));
  std::printf("scene written to %s\n", path.c_str());

  // The gradient's first colour at the top, its last at the bottom.
  EXPECT_GT(red(pixelAt(*image, 40, 11)), 240);
  EXPECT_LT(blue(pixelAt(*image, 40, 11)), 15);
  EXPECT_GT(blue(pixelAt(*image, 40, 68)), 240);
  EXPECT_EQ(pixelAt(*image, 5, 40), 0xFFFFFFFFu) << "the gradient stays in its clip";
  // The triangle's inside, the outline's row.
  EXPECT_EQ(pixelAt(*image, 120, 50), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(*image, 100, 8), 0xFF000000u);
  // The stroked line: its two rows in the stroke colour, none beside them.
  for (const int x : {10, 100, 229}) {
    EXPECT_EQ(pixelAt(*image, x, 99), 0xFFFF0000u) << x;
    EXPECT_EQ(pixelAt(*image, x, 100), 0xFFFF0000u) << x;
    EXPECT_EQ(pixelAt(*image, x, 98), 0xFFFFFFFFu) << x;
    EXPECT_EQ(pixelAt(*image, x, 101), 0xFFFFFFFFu) << x;
  }
  // The dash: painted, then a gap.
  EXPECT_GT(blue(pixelAt(*image, 13, 85)), 100);
  EXPECT_EQ(pixelAt(*image, 18, 85), 0xFFFFFFFFu);
  // The image: its blue top-left pixel fills the top-left of the rectangle.
  EXPECT_EQ(pixelAt(*image, 202, 12), 0xFF0000FFu);
  EXPECT_EQ(pixelAt(*image, 217, 12), 0xFFFFFF00u);

  // The text's dark pixels lie inside the box it measures (its glyphs may
  // reach a pixel past the advance), and there are some.
  const Size measured = ctx->textMetrics().size("Chart 42", label);
  int inside = 0;
  for (int64_t y = 105; y < 160; ++y)
    for (int64_t x = 0; x < 120; ++x) {
      if (!isDark(pixelAt(*image, x, y))) continue;
      const bool inBox = x >= textOrigin.x - 1 && x <= textOrigin.x + measured.width + 1 && y >= textOrigin.y &&
                         y <= textOrigin.y + measured.height;
      EXPECT_TRUE(inBox) << "dark pixel at (" << x << ", " << y << ")";
      inside += inBox;
    }
  EXPECT_GT(inside, 20);

  // The PNG reads back at the right size with the same pixels; the JPEG
  // decodes, smaller at a lower quality.
  const auto png = platform::cairo::encodePNG(*image);
  ASSERT_TRUE(png);
  const auto decoded = decodePNG(*png);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width(), 240);
  EXPECT_EQ(decoded->height(), 160);
  EXPECT_EQ(decoded->pixels(), image->pixels());
  // An opaque image, as this one is, is written as an RGB PNG (colour type
  // 2); one with a pixel that is not opaque keeps its alpha (type 6). Both
  // read back the same.
  std::vector<uint32_t> seeThrough = image->pixels();
  seeThrough[0] = 0;
  seeThrough[1] = 0x80402010u;
  const auto translucent = platform::cairo::encodePNG(*Image::make(240, 160, seeThrough));
  ASSERT_TRUE(translucent && translucent->size() > 25 && png->size() > 25);
  EXPECT_EQ((*png)[25], 2);
  EXPECT_EQ((*translucent)[25], 6);
  const auto translucentDecoded = decodePNG(*translucent);
  ASSERT_TRUE(translucentDecoded);
  EXPECT_EQ(translucentDecoded->pixels(), seeThrough);
  // The context writes the same file from its own pixels, opaque or not.
  EXPECT_EQ(ctx->encodePNG(), png);
  auto opaqueContext = CairoContext::create(30, 20, /*opaque=*/true);
  opaqueContext->setFillColor(kBlue);
  opaqueContext->fillEllipseInRect(Rect(2, 2, 20, 12));
  EXPECT_EQ(opaqueContext->encodePNG(), platform::cairo::encodePNG(*opaqueContext->makeImage(1)));
  auto clearContext = CairoContext::create(30, 20);
  clearContext->setFillColor(kBlue.withAlpha(0.5));
  clearContext->fillEllipseInRect(Rect(2, 2, 20, 12));
  EXPECT_EQ(clearContext->encodePNG(), platform::cairo::encodePNG(*clearContext->makeImage(1)));
  EXPECT_EQ((*clearContext->encodePNG())[25], 6);
  const auto best = platform::cairo::encodeJPEG(*image, 0.95);
  const auto rough = platform::cairo::encodeJPEG(*image, 0.1);
  ASSERT_TRUE(best && rough);
  const JpegShape shape = decodeJPEG(*best);
  EXPECT_EQ(shape.width, 240);
  EXPECT_EQ(shape.height, 160);
  EXPECT_EQ(shape.components, 3);
  EXPECT_LT(rough->size(), best->size());
  EXPECT_EQ(decodeJPEG(*rough).width, 240);
}

namespace {

// Runs `draw` on a thread of its own and fails when it has not finished
// within the bound. A hung draw cannot be stopped, so the test program ends
// there.
void finishesWithin(std::chrono::seconds bound, std::function<void()> draw) {
  std::packaged_task<void()> task(std::move(draw));
  std::future<void> done = task.get_future();
  std::thread worker(std::move(task));
  if (done.wait_for(bound) != std::future_status::ready) {
    ADD_FAILURE() << "the draw did not finish within " << bound.count() << " s";
    std::fflush(nullptr);
    std::_Exit(1);
  }
  worker.join();
  done.get();
}

}  // namespace

// Every call Cairo would refuse or choke on, one at a time, on a Cairo
// context and on a recording: each notes the same drop (or none, for what
// lies off the surface or only reaches past it), and the Cairo context
// stays usable and paints the red square drawn next. Under a time bound:
// Cairo traces a huge circle's whole outline, for minutes.
TEST_F(CairoBackend, RefusedArgumentsAreNotedAndLeaveTheContextDrawing) {
  using R = DropReason;
  const auto checker = Image::make(1, 1, {0xFF00FF00u});
  const auto text = [](DrawingContext& c, const Font& font) {
    c.drawText("Ink", {1, 1}, TextAttributes{font, std::nullopt, std::nullopt});
  };
  const struct {
    std::string name;
    std::function<void(DrawingContext&)> bad;
    std::optional<R> noted;
    bool rasterOnly = false;
    std::optional<R> alsoNoted = std::nullopt;
  } cases[] = {
      {"NaN moveTo", [](DrawingContext& c) { c.moveTo({kNaN, 1}); c.addLineTo({5, 5}); c.strokePath(); }, R::invalidGeometry},
      {"inf lineTo", [](DrawingContext& c) { c.moveTo({1, 1}); c.addLineTo({kInf, 5}); c.strokePath(); }, R::invalidGeometry},
      {"zero scale", [](DrawingContext& c) { c.scaleBy(0, 0); }, R::singularTransform},
      {"one zero axis", [](DrawingContext& c) { c.scaleBy(1, 0); }, R::singularTransform},
      {"NaN scale", [](DrawingContext& c) { c.scaleBy(kNaN, 1); }, R::singularTransform},
      {"inf rotation", [](DrawingContext& c) { c.rotateBy(kInf); }, R::singularTransform},
      {"NaN translation", [](DrawingContext& c) { c.translateBy(kNaN, 0); }, R::singularTransform},
      {"singular concat", [](DrawingContext& c) { c.concatCTM({1, 2, 2, 4, 0, 0}); }, R::singularTransform},
      {"vanishing concat", [](DrawingContext& c) { c.scaleBy(1e-200, 1e-200); c.scaleBy(1e-200, 1e-200); }, R::singularTransform},
      {"negative dash", [](DrawingContext& c) { c.setLineDash(0, {-1, 2}); }, R::invalidStyle},
      {"zero dash", [](DrawingContext& c) { c.setLineDash(0, {0, 0}); }, R::invalidStyle},
      {"NaN dash", [](DrawingContext& c) { c.setLineDash(kNaN, {3, 2}); }, R::invalidStyle},
      {"NaN line width", [](DrawingContext& c) { c.setLineWidth(kNaN); }, R::invalidStyle},
      {"restore without save", [](DrawingContext& c) { c.restoreGState(); c.restoreGState(); }, R::unbalancedRestore},
      {"NaN rectangle", [](DrawingContext& c) { c.fillRect(Rect(0, 0, kNaN, 3)); c.clipToRect(Rect(kNaN, 0, 1, 1)); }, R::invalidGeometry},
      {"flat ellipse", [](DrawingContext& c) { c.fillEllipseInRect(Rect(0, 0, 0, 5)); c.strokeEllipseInRect(Rect(0, 0, 5, kNaN)); }, R::invalidGeometry},
      {"NaN colour", [](DrawingContext& c) { c.setFillColor(Color::rgb(kNaN, 2, -1, kNaN)); c.fillRect(Rect(30, 30, 2, 2)); }, R::invalidStyle},
      {"colour above 1", [](DrawingContext& c) { c.setFillColor(Color::rgb(1.5, 0, 0)); c.fillRect(Rect(30, 30, 2, 2)); }, R::invalidStyle},
      {"colour below 0", [](DrawingContext& c) { c.setStrokeColor(Color::rgb(0, 0, 1, -0.25)); c.strokeRect(Rect(30, 30, 2, 2)); }, R::invalidStyle},
      {"two reasons in one frame", [](DrawingContext& c) { c.translateBy(kNaN, 0); c.setFillColor(Color::rgb(0, 2, 0)); },
       R::singularTransform, false, R::invalidStyle},
      {"negative radius", [](DrawingContext& c) {
         c.drawRadialGradient(Gradient{{{kRed, 0}, {kBlue, 1}}}, {5, 5}, -1, {5, 5}, 3, GradientOptions::none);
       }, R::invalidGeometry},
      {"NaN gradient", [](DrawingContext& c) {
         c.drawLinearGradient(Gradient{{{kRed, kNaN}}}, {kNaN, 0}, {1, 1}, GradientOptions::drawsAfterEnd);
       }, R::invalidGeometry},
      {"image into nothing", [&](DrawingContext& c) {
         c.drawImage(*checker, Rect(0, 0, 0, 5));
         c.drawImage(*checker, Rect(0, 0, 1e-300, 1e-300));
         c.drawTiledImage(*checker, Rect(kNaN, 0, 4, 4));
       }, R::invalidGeometry},
      {"bad text", [](DrawingContext& c) {
         c.drawText("\xff\xfe", {1, 1}, {});
         c.drawText("size 0", {1, 1}, TextAttributes{Font::systemFont(0), std::nullopt, std::nullopt});
         c.drawText("NaN size", {1, 1}, TextAttributes{Font::systemFont(kNaN), std::nullopt, std::nullopt});
         c.drawTextInRect("NaN", Rect(kNaN, 0, 5, 5), {});
       }, R::invalidText},
      // Fonts Cairo refuses for good, in this context and (through its font
      // caches) in every later one.
      {"font of 1e5 pt", [&](DrawingContext& c) { text(c, Font::systemFont(1e5)); }, R::refusedFont},
      {"font of 65536 pt", [&](DrawingContext& c) { text(c, Font::systemFont(65536)); }, R::refusedFont},
      {"font of 1e-300 pt", [&](DrawingContext& c) { text(c, Font::systemFont(1e-300)); }, R::refusedFont},
      {"infinite font", [&](DrawingContext& c) { text(c, Font::systemFont(kInf)); }, R::refusedFont},
      {"family not UTF-8", [&](DrawingContext& c) { text(c, Font{"\xff\xfe", 12}); }, R::refusedFont},
      {"font scaled past the largest", [&](DrawingContext& c) {
         c.saveGState();
         c.scaleBy(100, 100);
         text(c, Font::systemFont(1000));
         c.restoreGState();
       }, R::refusedFont, true},
      {"stroke too wide", [](DrawingContext& c) { c.setLineWidth(1e15); c.strokeRect(Rect(0, 0, 5, 5)); },
       R::invalidStyle, true},
      // Far or huge, but finite: nothing is dropped.
      {"circle of 1e40", [](DrawingContext& c) { c.fillEllipseInRect(Rect(-5e39, -5e39, 1e40, 1e40)); }, std::nullopt},
      {"outline of 1e30", [](DrawingContext& c) { c.strokeEllipseInRect(Rect(-1e30, 0, 1e30, 1e30)); }, std::nullopt},
      {"image at 2^53", [&](DrawingContext& c) { c.drawImage(*checker, Rect(9007199254740992.0, 0, 10, 10)); }, std::nullopt},
      {"images at ±1.8e308 (the largest double)", [&](DrawingContext& c) {
         c.drawImage(*checker, Rect(kMax, 0, 10, 10));
         c.drawImage(*checker, Rect(-kMax, 0, 10, 10));
         c.drawTiledImage(*checker, Rect(0, -kMax, 10, 10));
       }, std::nullopt},
      {"far lines and text", [&](DrawingContext& c) {
         c.strokeLineSegments({{-1e300, 0}, {1e300, 40}});
         c.drawText("far", {1e300, 1e300}, {});
       }, std::nullopt},
      {"finite, but past the largest double on the surface", [](DrawingContext& c) {
         c.saveGState();
         c.scaleBy(1e154, 1e154);
         c.fillEllipseInRect(Rect(0, 0, 1e200, 1e200));
         c.strokeLineSegments({{-1e200, 0}, {1e200, 1}});  // a line 1e154 pixels wide
         c.restoreGState();
       }, R::invalidStyle, true},
      {"gradient circle of 1e30", [](DrawingContext& c) {
         c.drawRadialGradient(Gradient{{{kRed, 0}, {kBlue, 1}}}, {5, 5}, 0, {5, 5}, 1e30, GradientOptions::drawsBeforeStart);
       }, std::nullopt},
  };
  finishesWithin(std::chrono::seconds(30), [&] {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      auto ctx = CairoContext::create(40, 40);
      RecordingContext recording;
      c.bad(*ctx);
      c.bad(recording);
      EXPECT_EQ(ctx->firstDrop() ? std::optional(ctx->firstDrop()->reason) : std::nullopt, c.noted);
      EXPECT_EQ(recording.firstDrop() ? std::optional(recording.firstDrop()->reason) : std::nullopt,
                c.rasterOnly ? std::nullopt : c.noted);
      EXPECT_TRUE(!c.alsoNoted || (ctx->hasDropped(*c.alsoNoted) && recording.hasDropped(*c.alsoNoted) &&
                                   ctx->hasDropped(*c.noted) && recording.hasDropped(*c.noted)));
      ctx->setFillColor(kRed);
      ctx->fillRect(Rect(10, 10, 10, 10));
      EXPECT_FALSE(ctx->isInErrorState());
      EXPECT_EQ(pixelAt(*ctx->makeImage(1), 15, 15), 0xFFFF0000u);
    }
  });

  // Later contexts and the text metrics still draw and measure text.
  auto later = CairoContext::create(60, 30);
  later->drawText("Ink", {5, 5}, TextAttributes{Font::systemFont(16), std::nullopt, std::nullopt});
  const auto written = later->makeImage(1);
  EXPECT_TRUE(std::any_of(written->pixels().begin(), written->pixels().end(), pixels::isDark));
  EXPECT_GT(currentTextMetrics().size("Ink", {}).width, 10);

  // The record keeps the first drop and every reason until it is cleared.
  auto ctx = CairoContext::create(40, 40);
  ctx->moveTo({kNaN, 0});
  ctx->restoreGState();
  EXPECT_EQ(ctx->firstDrop(), (Drop{R::invalidGeometry, "moveTo"}));
  EXPECT_EQ(ctx->firstDrop()->description(), "moveTo: geometry that is not a finite number");
  EXPECT_TRUE(ctx->hasDropped(R::unbalancedRestore));
  EXPECT_FALSE(ctx->hasDropped(R::refusedFont));
  ctx->clearDrops();
  EXPECT_FALSE(ctx->hasDropped() || ctx->hasDropped(R::invalidGeometry));

  // An invalid dash draws solid; a negative line width draws as 0 (nothing).
  ctx->setShouldAntialias(false);
  ctx->setLineDash(0, {-2, 4});
  ctx->strokeLineSegments({{0, 5.5}, {40, 5.5}});
  ctx->setLineWidth(-3);
  ctx->strokeLineSegments({{0, 20.5}, {40, 20.5}});
  const auto image = ctx->makeImage(1);
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(pixelAt(*image, x, 5), 0xFF000000u) << x;
    EXPECT_EQ(pixelAt(*image, x, 20), 0u) << x;
  }
}

// Shapes that reach far past the surface draw the part that shows: a circle
// of a trillion points whose right edge is x 60 fills (and strokes) up to
// that edge, one around the surface fills it, a line from far away keeps its
// slope, an image and its tiles stretched over ±1e10 show.
TEST_F(CairoBackend, FarAndHugeShapesDrawTheirVisiblePart) {
  const auto green = Image::make(1, 1, {0xFF00FF00u});
  const struct {
    const char* name;
    std::function<void(CairoContext&)> draw;
    std::vector<std::pair<Point, uint32_t>> expected;
  } cases[] = {
      {"filled circle ending at x 60", [](CairoContext& c) { c.fillEllipseInRect(Rect(60 - 1e12, 50 - 5e11, 1e12, 1e12)); },
       {{{30, 50}, 0xFFFF0000u}, {{58, 5}, 0xFFFF0000u}, {{62, 50}, 0u}}},
      {"its outline", [](CairoContext& c) { c.strokeEllipseInRect(Rect(60 - 1e12, 50 - 5e11, 1e12, 1e12)); },
       {{{60, 50}, 0xFF0000FFu}, {{60, 95}, 0xFF0000FFu}, {{30, 50}, 0u}, {{90, 50}, 0u}}},
      {"a circle around the surface", [](CairoContext& c) { c.fillEllipseInRect(Rect(-1e30, -1e30, 2e30, 2e30)); },
       {{{0, 0}, 0xFFFF0000u}, {{99, 99}, 0xFFFF0000u}}},
      {"a line of slope 0.1 from ±1e9", [](CairoContext& c) { c.strokeLineSegments({{-1e9, 50 - 1e8}, {1e9, 50 + 1e8}}); },
       {{{20, 52}, 0xFF0000FFu}, {{80, 58}, 0xFF0000FFu}, {{80, 52}, 0u}}},
      {"an image and tiles over ±1e10", [&](CairoContext& c) {
         c.drawImage(*green, Rect(-1e10, 20, 2e10, 10));
         c.drawTiledImage(*green, Rect(-1e10, 40, 2e10, 10));
       }, {{{50, 25}, 0xFF00FF00u}, {{50, 45}, 0xFF00FF00u}, {{50, 35}, 0u}}},
  };
  auto sheet = CairoContext::create(100 * std::size(cases), 100);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    auto ctx = CairoContext::create(100, 100);
    ctx->setFillColor(kRed);
    ctx->setStrokeColor(kBlue);
    ctx->setLineWidth(3);
    cases[i].draw(*ctx);
    EXPECT_FALSE(ctx->hasDropped());
    const auto image = ctx->makeImage(1);
    for (const auto& [at, colour] : cases[i].expected) EXPECT_EQ(pixelAt(*image, at.x, at.y), colour) << at.x << ", " << at.y;
    sheet->drawImage(*image, Rect(100.0 * i, 0, 100, 100));
  }
  EXPECT_TRUE(platform::cairo::writePNG(*sheet->makeImage(1), testsupport::testOutputFolder() / "cairo-far-shapes.png"));
}

// A stroke wider than maxStrokeWidth paints what one of that width paints
// (and is noted, each time); a thick line far across, just off the surface,
// paints its edge; images 10^9 pixels off the surface paint nothing and leave
// Cairo drawing.
TEST_F(CairoBackend, OverWideStrokesAndFarImagesPaintWhatThePlainCallPaints) {
  const auto green = Image::make(1, 1, {0xFF00FF00u});
  // 65486 pixels above the surface: a stroke of the widest reaches y 50.
  const auto line = [](CairoContext& c, double width) {
    c.setLineWidth(width);
    c.strokeLineSegments({{-50, -65486}, {150, -65486}});
  };
  const struct {
    const char* name;
    std::function<void(CairoContext&)> draw, plain;
    std::optional<DropReason> noted;
  } rows[] = {
      {"a stroke 10^6 pixels wide", [&](CairoContext& c) { line(c, 1e6); },
       [&](CairoContext& c) { line(c, CairoContext::maxStrokeWidth); }, DropReason::invalidStyle},
      // The width is back after the narrowing: the second one is noted too.
      {"a second stroke 10^6 pixels wide", [&](CairoContext& c) {
         line(c, 1e6);
         c.clearDrops();
         c.strokeLineSegments({{-50, -65486}, {150, -65486}});
       },
       [&](CairoContext& c) { line(c, CairoContext::maxStrokeWidth); line(c, CairoContext::maxStrokeWidth); },
       DropReason::invalidStyle},
      // Cut to the surface by its own width at the scale it is drawn at: a
      // line 3000 pixels wide, its middle 100 pixels above, covers it.
      {"a thick line just off the surface at deep zoom", [](CairoContext& c) {
         c.scaleBy(1000, 1000);
         c.setLineWidth(3);
         c.strokeLineSegments({{-1e5, -0.1}, {1e5, -0.1}});
       }, [](CairoContext& c) { c.fillRect(Rect(0, 0, 100, 100)); }, std::nullopt},
      {"images 10^9 pixels off", [&](CairoContext& c) {
         c.drawImage(*green, Rect(1e9, 0, 10, 10));
         c.drawImage(*green, Rect(0, -1e9, 100, 100));
         c.drawTiledImage(*green, Rect(-1e9, 0, 10, 100));
       }, [](CairoContext&) {}, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto ctx = CairoContext::create(100, 100);
    auto plain = CairoContext::create(100, 100);
    row.draw(*ctx);
    row.plain(*plain);
    EXPECT_EQ(ctx->firstDrop() ? std::optional(ctx->firstDrop()->reason) : std::nullopt, row.noted);
    EXPECT_FALSE(ctx->isInErrorState());
    EXPECT_EQ(ctx->makeImage(1)->pixels(), plain->makeImage(1)->pixels());
  }
  auto widest = CairoContext::create(100, 100);
  line(*widest, CairoContext::maxStrokeWidth);
  EXPECT_EQ(pixelAt(*widest->makeImage(1), 50, 45), 0xFF000000u);
  EXPECT_EQ(pixelAt(*widest->makeImage(1), 50, 55), 0u);
}

// Image contexts, layers, tiles and the icon cache on real bitmaps.
TEST_F(CairoBackend, ImageContextsLayersTilesAndResizedIcons) {
  // A 32 × 32 red icon drawn at 16 × 16 is resized once in a Cairo image
  // context; the copy is red, 16 × 16 pixels, and encodes.
  const auto icon = Image::make(32, 32, std::vector<uint32_t>(32 * 32, 0xFFFF0000u));
  auto ctx = CairoContext::create(40, 40);
  chart::ChartUtils::drawImage(*ctx, *icon, 20, 20, {16, 16});
  const auto copy = icon->associatedImage("resized_16.0_16.0");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->width(), 16);
  EXPECT_EQ(pixelAt(*copy, 8, 8), 0xFFFF0000u);
  const auto drawn = ctx->makeImage(1);
  EXPECT_EQ(pixelAt(*drawn, 12, 12), 0xFFFF0000u);
  EXPECT_EQ(pixelAt(*drawn, 11, 20), 0u);
  const auto png = chart::NSUIImagePNGRepresentation(*copy);
  ASSERT_TRUE(png);
  EXPECT_EQ(decodePNG(*png)->width(), 16);
  EXPECT_TRUE(chart::NSUIImageJPEGRepresentation(*copy, 0.5));
  EXPECT_FALSE(chart::NSUIImageJPEGRepresentation(*copy, kNaN));
  EXPECT_FALSE(chart::NSUIImagePNGRepresentation(Image(0, 0, {})));

  // An image context at scale 2 draws in points onto twice the pixels.
  chart::NSUIGraphicsBeginImageContextWithOptions({10, 5}, true, 2);
  chart::NSUIGraphicsGetCurrentContext()->setFillColor(kBlue);
  chart::NSUIGraphicsGetCurrentContext()->fillRect(Rect(5, 0, 5, 5));
  const auto scaled = chart::NSUIGraphicsGetImageFromCurrentImageContext();
  chart::NSUIGraphicsEndImageContext();
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->width(), 20);
  EXPECT_EQ(scaled->size(), (Size{10, 5}));
  EXPECT_EQ(pixelAt(*scaled, 9, 9), 0xFF000000u) << "opaque: black where nothing was drawn";
  EXPECT_EQ(pixelAt(*scaled, 10, 0), 0xFF0000FFu);

  // A layer drawn scaled, and a 2 × 1 image tiled at its own size from the
  // rectangle's origin.
  Layer layer({4, 4}, CairoContext::create(4, 4));
  layer.context().setFillColor(kGreen);
  layer.context().fillRect(Rect(0, 0, 2, 4));
  auto target = CairoContext::create(12, 12);
  target->drawLayer(layer, Rect(0, 0, 8, 8));
  target->drawTiledImage(*Image::make(2, 1, {0xFFFF0000u, 0xFF0000FFu}), Rect(1, 10, 10, 2));
  const auto result = target->makeImage(1);
  EXPECT_EQ(pixelAt(*result, 1, 1), 0xFF00FF00u);
  EXPECT_EQ(pixelAt(*result, 6, 1), 0u);
  for (int x = 1; x < 11; ++x) EXPECT_EQ(pixelAt(*result, x, 11), (x % 2 ? 0xFFFF0000u : 0xFF0000FFu)) << x;
  EXPECT_EQ(pixelAt(*result, 0, 11), 0u);

  // Gradients that take their end colour on one side only paint that side
  // and leave the other bare.
  const Gradient redToBlue{{{kRed, 0}, {kBlue, 1}}};
  const struct {
    GradientOptions options;
    uint32_t beforeStart, afterEnd;
  } sides[] = {{GradientOptions::drawsAfterEnd, 0u, 0xFF0000FFu},
               {GradientOptions::drawsBeforeStart, 0xFFFF0000u, 0u},
               {GradientOptions::none, 0u, 0u}};
  for (const auto& side : sides) {
    auto strip = CairoContext::create(30, 4);
    strip->drawLinearGradient(redToBlue, {10, 2}, {20, 2}, side.options);
    const auto painted = strip->makeImage(1);
    EXPECT_EQ(pixelAt(*painted, 3, 2), side.beforeStart) << static_cast<unsigned>(side.options);
    EXPECT_EQ(pixelAt(*painted, 27, 2), side.afterEnd) << static_cast<unsigned>(side.options);
    EXPECT_GT(blue(pixelAt(*painted, 18, 2)), red(pixelAt(*painted, 18, 2)));
  }

  EXPECT_FALSE(CairoContext::create(0, 5));
  EXPECT_FALSE(CairoContext::create(5, maxBitmapSide + 1));
}

TEST(CairoTextMetrics, MeasuresAsItDrawsAndWrapsAtSpaces) {
  const CairoTextMetrics metrics;
  const TextAttributes attributes{Font::systemFont(20), std::nullopt, std::nullopt};
  const Font font = attributes.resolvedFont();
  EXPECT_EQ(metrics.size("", attributes), (Size{0, 0}));
  EXPECT_EQ(metrics.size("\xff", attributes), (Size{0, 0}));
  const double spacing = metrics.lineSpacing(font);
  EXPECT_GT(spacing, 20);
  EXPECT_LT(spacing, 30);
  const Size one = metrics.size("ink limit", attributes);
  EXPECT_EQ(one.height, spacing);
  EXPECT_EQ(one.width, metrics.advance("ink limit", font));
  // Wrapping just short of the whole line puts the second word below.
  const Rect wrapped = metrics.boundingRect("ink limit", {one.width - 1, 0}, attributes);
  EXPECT_EQ(wrapped.size.height, 2 * spacing);
  EXPECT_EQ(wrapped.size.width, std::max(metrics.advance("ink", font), metrics.advance("limit", font)));
  EXPECT_EQ(metrics.size("ink\nlimit", attributes), wrapped.size);
  // The bounding box scales with the font and is taller than the ascent.
  const double box = metrics.fontLineHeight(font);
  EXPECT_NEAR(metrics.fontLineHeight(Font::systemFont(40)), 2 * box, 1e-9);
  EXPECT_GT(box, metrics.ascent(font));
  EXPECT_EQ(metrics.fontLineHeight(Font::systemFont(-1)), 0);
}

// Fontconfig keeps its font caches for the life of the process and never frees
// them; the leak checker is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// A context over an SVG document draws what a context over pixels draws, as
// shapes and text, with the same checks (a point that is not a number is
// left out); the document is handed over once, when finished. It has no
// pixels: no parts, no PNG, a clear image.
TEST(CairoSVG, DrawsADocumentHandedOverOnce) {
  EXPECT_EQ(CairoContext::createSVG(0, 10), nullptr);
  EXPECT_EQ(CairoContext::createSVG(10, maxBitmapSide + 1), nullptr);
  auto svg = CairoContext::createSVG(40, 30);
  ASSERT_NE(svg, nullptr);
  svg->setFillColor(Color::rgb(1, 0, 0));
  svg->fillRect(Rect(5, 5, 10, 10));
  svg->beginPath();
  svg->moveTo(Point{0, 0});
  svg->addLineTo(Point{std::numeric_limits<double>::quiet_NaN(), 3});
  svg->strokePath();
  svg->drawText("Lk", Point{2, 2}, TextAttributes{Font::systemFont(12), Color::black(), std::nullopt});
  EXPECT_FALSE(svg->isInErrorState());
  EXPECT_EQ(svg->part(Rect(0, 0, 10, 10)), nullptr);
  EXPECT_FALSE(svg->encodePNG());
  const auto image = svg->makeImage(1);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 40);
  EXPECT_TRUE(std::all_of(image->pixels().begin(), image->pixels().end(), [](uint32_t p) { return p == 0; }));

  const auto document = svg->finishSVG();
  ASSERT_TRUE(document);
  EXPECT_TRUE(document->starts_with("<?xml")) << *document;
  EXPECT_NE(document->find(R"(width="40px" height="30px" viewBox="0 0 40 30")"), std::string::npos) << *document;
  EXPECT_NE(document->find(R"(fill:rgb(100%,0%,0%);fill-opacity:1;" d="M 5 5 L 15 5 L 15 15 L 5 15 Z)"),
            std::string::npos)
      << *document;
  EXPECT_NE(document->find("<use xlink:href=\"#inkcurve-glyph"), std::string::npos) << "the text, as glyphs";
  EXPECT_NE(document->find("</svg>"), std::string::npos);
  EXPECT_FALSE(svg->finishSVG()) << "handed over once";
  EXPECT_FALSE(CairoContext::create(4, 4)->finishSVG()) << "a context over pixels has no document";
}
