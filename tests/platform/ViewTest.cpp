#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/view/View.h"
#include "support/GeometryExpectations.h"

using platform::graphics::Rect;

TEST(View, BoundsFollowTheFrameSizeAndDirtyRectsAreKept) {
  platform::view::View view(Rect(50, 60, 300, 200));
  EXPECT_EQ(view.bounds(), Rect(0, 0, 300, 200));
  view.setBounds(Rect(5, 5, 300, 200));
  view.setFrame(Rect(0, 0, 400, 250));
  EXPECT_EQ(view.bounds(), Rect(5, 5, 400, 250));
  EXPECT_EQ(view.frame(), Rect(0, 0, 400, 250));

  // Marked rectangles, and the list they leave.
  for (const auto& [marked, kept] : {
           std::pair{std::vector<Rect>{{1, 2, 3, 4}, {50, 50, 10, 10}}, std::vector<Rect>{{1, 2, 3, 4}, {50, 50, 10, 10}}},
           {{{1, 2, 30, 40}, {5, 5, 3, 4}, {1, 2, 30, 40}}, {{1, 2, 30, 40}}},
           {{{5, 5, 3, 4}, {60, 6, 1, 1}, {1, 2, 30, 40}}, {{60, 6, 1, 1}, {1, 2, 30, 40}}},
           {{{1, 2, 3, 4}, {-50, 0, 60, 10}, {5, 5, 400, 250}, {6, 6, 1, 1}}, {{5, 5, 400, 250}}},
       }) {
    for (const Rect& r : marked) view.setNeedsDisplayInRect(r);
    EXPECT_EQ(view.dirtyRects(), kept);
    view.clearNeedsDisplay();
    EXPECT_TRUE(view.dirtyRects().empty());
  }
}

TEST(View, LayerAccessibilityAndTouchesInTheView) {
  platform::view::View view(Rect(0, 0, 10, 10));
  EXPECT_FALSE(view.isFlipped());
  view.setLayerBackgroundColor(platform::graphics::Color::white());
  EXPECT_EQ(view.layerBackgroundColor(), std::nullopt) << "no layer yet";
  view.setWantsLayer(true);
  view.setLayerBackgroundColor(platform::graphics::Color::gray());
  EXPECT_EQ(view.layerBackgroundColor(), platform::graphics::Color::gray());
  view.setWantsLayer(false);
  EXPECT_EQ(view.layerBackgroundColor(), std::nullopt);
  EXPECT_EQ(view.convertRectToScreen(Rect(1, 2, 3, 4)), Rect(1, 2, 3, 4));
  EXPECT_DOUBLE_EQ(platform::view::mainScreenScale(), 1.0);

  platform::view::View other;
  const platform::view::TouchEvent event{{{{1, 1}, &view}, {{2, 2}, &other}}};
  ASSERT_EQ(view.touchesInView(event).size(), 1u);
  EXPECT_EQ(view.touchesInView(event)[0].location, (platform::graphics::Point{1, 1}));
}

// A touch built without its view would be dropped without a word: a debug
// build stops, saying what to set.
TEST(ViewDeathTest, ATouchWithoutItsViewStopsADebugBuild) {
#ifdef NDEBUG
  GTEST_SKIP() << "a release build ignores the touch";
#else
  const platform::view::View view(Rect(0, 0, 10, 10));
  EXPECT_DEATH(view.touchesInView(platform::view::TouchEvent{{{{1, 1}, &view}, {{2, 2}, nullptr}}}),
               "A Touch of a TouchEvent has no view: set Touch::view to the view it lies in");
#endif
}

TEST(Image, ScaleSizeAndAssociatedCopies) {
  using platform::graphics::Image;
  const auto image = Image::make(20, 10, std::vector<uint32_t>(200), 2);
  EXPECT_EQ(image->size(), (platform::graphics::Size{10, 5}));
  EXPECT_THROW(Image(1, 1, {0u}, 0), std::invalid_argument);
  EXPECT_THROW(Image(1, 1, {0u}, std::nan("")), std::invalid_argument);
  EXPECT_EQ(image->associatedImage("resized_1.0_1.0"), nullptr);
  const auto copy = Image::make(1, 1, {0u});
  image->setAssociatedImage("resized_1.0_1.0", copy);
  EXPECT_EQ(image->associatedImage("resized_1.0_1.0"), copy);
  // The copies of the last maxAssociatedImages keys set or found: a hit
  // keeps its key from being the least recently used, and a key set again
  // keeps its one slot, with the new copy.
  const auto copyOf = [](uint32_t pixel) { return Image::make(1, 1, {pixel}); };
  for (const uint32_t key : {2u, 3u, 4u}) image->setAssociatedImage(std::to_string(key), copyOf(key));
  EXPECT_TRUE(image->associatedImage("resized_1.0_1.0"));
  image->setAssociatedImage("5", copyOf(5));
  EXPECT_FALSE(image->associatedImage("2"));
  EXPECT_EQ(image->associatedImage("resized_1.0_1.0"), copy);
  for (const uint32_t pixel : {6u, 7u, 8u, 9u}) image->setAssociatedImage("3", copyOf(pixel));
  EXPECT_EQ(image->associatedImage("3")->pixels(), std::vector<uint32_t>{9u});
  for (const char* key : {"4", "5", "resized_1.0_1.0"}) EXPECT_TRUE(image->associatedImage(key)) << key;

  // The std-only back end: recorded bitmaps with transparent images of their
  // size, within Cairo's limits, and no encoders.
  using namespace platform::graphics;
  auto bitmap = makeBitmapContext(3, 2, false);
  ASSERT_TRUE(bitmap);
  bitmap->drawingContext().fillRect(Rect(0, 0, 1, 1));
  const auto drawn = bitmap->makeImage(2);
  EXPECT_EQ(drawn->pixels(), std::vector<uint32_t>(6, 0u));
  EXPECT_EQ(drawn->size(), (Size{1.5, 1}));
  EXPECT_EQ(makeBitmapContext(0, 2, false), nullptr);
  EXPECT_EQ(makeBitmapContext(maxBitmapSide + 1, 2, false), nullptr);
  EXPECT_EQ(pngData(*drawn), std::nullopt);
  EXPECT_EQ(jpegData(*drawn, 1), std::nullopt);
}
