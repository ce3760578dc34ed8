#include <gtest/gtest.h>

#include <vector>

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

  view.setNeedsDisplayInRect(Rect(1, 2, 3, 4));
  view.setNeedsDisplayInRect(view.bounds());
  EXPECT_EQ(view.dirtyRects(), (std::vector<Rect>{Rect(1, 2, 3, 4), Rect(5, 5, 400, 250)}));
}
