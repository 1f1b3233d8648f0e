#include "shell/scroll.h"

#include <gtest/gtest.h>

namespace zelvo::shell {
namespace {

constexpr int32_t kLine = 16;

TEST(ScrollTest, ShortTextDoesNotScroll) {
  ScrollState scroll;
  recompute_scroll(scroll, 3, 20 * kLine, kLine, false);
  EXPECT_EQ(scroll.maximum, 0);
  EXPECT_EQ(scroll_by(scroll, ScrollRequest::kPageDown, 0, 20 * kLine, kLine), 0);
  EXPECT_EQ(scroll_by(scroll, ScrollRequest::kLineDown, 0, 20 * kLine, kLine), 0);
  EXPECT_EQ(scroll.position, 0);
}

TEST(ScrollTest, HundredLinesInTwentyScrollTo82AndPageBy20) {
  ScrollState scroll;
  recompute_scroll(scroll, 100, 20 * kLine + 5, kLine, false);
  EXPECT_EQ(scroll.maximum, 82);
  EXPECT_EQ(scroll.position, 0);
  EXPECT_EQ(scroll_by(scroll, ScrollRequest::kPageDown, 0, 20 * kLine + 5, kLine), 20);
  EXPECT_EQ(scroll.position, 20);
  scroll_by(scroll, ScrollRequest::kPageUp, 0, 20 * kLine, kLine);
  EXPECT_EQ(scroll.position, 0);
}

TEST(ScrollTest, RequestsAreClampedToTheRange) {
  ScrollState scroll{82, 75};
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kPageDown, 0, 20 * kLine, kLine), 7);
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kLineUp, 0, 20 * kLine, kLine), -1);
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kTop, 0, 20 * kLine, kLine), -75);
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kBottom, 0, 20 * kLine, kLine), 7);
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kThumbTrack, 30, 20 * kLine, kLine), -45);
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kThumbTrack, 500, 20 * kLine, kLine), 7);
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kOther, 0, 20 * kLine, kLine), 0);
  // A window shorter than a line still pages by one.
  EXPECT_EQ(scroll_delta(scroll, ScrollRequest::kPageUp, 0, 3, kLine), -1);
}

TEST(ScrollTest, ResizeKeepsPositionInRangeAndFollowTheEndJumpsToIt) {
  ScrollState scroll{82, 60};
  recompute_scroll(scroll, 100, 60 * kLine, kLine, false);
  EXPECT_EQ(scroll.maximum, 42);
  EXPECT_EQ(scroll.position, 42);
  scroll.position = 10;
  recompute_scroll(scroll, 120, 60 * kLine, kLine, true);
  EXPECT_EQ(scroll.maximum, 62);
  EXPECT_EQ(scroll.position, 62);
}

TEST(ScrollTest, FollowTheEndDrawsTheLastLinesFromTenPixels) {
  const PaintRange range = paint_range(ScrollState{}, 100, 0, 20 * kLine, kLine, true);
  EXPECT_EQ(range.first, 82);
  EXPECT_EQ(range.last, 101);
  EXPECT_EQ(range.y(82), 10);
  EXPECT_EQ(range.y(83), 10 + kLine);
  const PaintRange few = paint_range(ScrollState{}, 3, 0, 20 * kLine, kLine, true);
  EXPECT_EQ(few.first, 0);
  EXPECT_EQ(few.last, 4);
}

TEST(ScrollTest, NormalPaintDrawsFromThePosition) {
  const PaintRange range = paint_range(ScrollState{82, 20}, 100, 0, 20 * kLine, kLine, false);
  EXPECT_EQ(range.first, 19);
  EXPECT_EQ(range.last, 40);
  EXPECT_EQ(range.y(20), kLine);
  const PaintRange part = paint_range(ScrollState{82, 20}, 100, 5 * kLine, 8 * kLine, kLine, false);
  EXPECT_EQ(part.first, 24);
  EXPECT_EQ(part.last, 28);
  const PaintRange end = paint_range(ScrollState{82, 82}, 100, 0, 20 * kLine, kLine, false);
  EXPECT_EQ(end.last, 100);
}

TEST(ScrollTest, LogoSitsBelowTheEndOfTheText) {
  const Point at_end = logo_position(ScrollState{82, 82}, 600, 400, kLine);
  EXPECT_EQ(at_end.x, 500);
  EXPECT_EQ(at_end.y, 340);
  const Point above = logo_position(ScrollState{82, 80}, 600, 400, kLine);
  EXPECT_EQ(above.y, 340 + 2 * kLine);
}

TEST(ScrollTest, TabsStopEvery15PixelsFromTheMargin) {
  EXPECT_EQ(next_tab_stop(0), 15);
  EXPECT_EQ(next_tab_stop(14), 15);
  EXPECT_EQ(next_tab_stop(15), 30);
  EXPECT_EQ(next_tab_stop(31), 45);
}

}  // namespace
}  // namespace zelvo::shell
