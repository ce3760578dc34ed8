#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/RecordingContext.h"

namespace testsupport {

// A drawing left the recording as it found it: the graphics state as fresh
// as a new context's (a forgotten save leaves a setting in force after the
// restore, a forgotten restore a save) and nothing dropped (a restore with
// nothing saved).
inline void expectFreshEnd(const platform::graphics::RecordingContext& context, const std::string& label = {}) {
  EXPECT_EQ(context.state(), platform::graphics::GraphicsState{}) << label;
  EXPECT_FALSE(context.hasDropped()) << label << ": " << context.firstDrop()->description();
}

}  // namespace testsupport
