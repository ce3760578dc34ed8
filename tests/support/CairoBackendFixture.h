#pragma once

#include <gtest/gtest.h>

#include "platform/cairo/CairoImages.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMetrics.h"

// For the Cairo test program only: tests that draw in real pixels, with Cairo
// as the drawing layer's back end (its bitmaps, encoders and text metrics)
// for the test and the defaults put back afterwards.
class CairoBackend : public testing::Test {
 protected:
  const platform::cairo::ScopedCairoBackend cairo;
};
