#pragma once

#include <cstdint>

namespace zelvo::shell {

// The console view's vertical scrolling, in lines.
struct ScrollState {
  int32_t maximum = 0;
  int32_t position = 0;
};

enum class ScrollRequest { kLineUp, kLineDown, kPageUp, kPageDown, kThumbTrack, kTop, kBottom, kOther };

// The size-change rule: maximum = line count - client height / line height
// + 2 (not below 0); the position is kept within it, or, in follow-the-end
// mode, becomes it.
void recompute_scroll(ScrollState& scroll, int32_t line_count, int32_t client_height,
                      int32_t line_height, bool follow_end);

// The change of position a request makes, clamped so the position stays
// within 0 and the maximum. `thumb` is read for kThumbTrack only.
int32_t scroll_delta(const ScrollState& scroll, ScrollRequest request, int32_t thumb,
                     int32_t client_height, int32_t line_height);

// Applies scroll_delta; returns the change made.
int32_t scroll_by(ScrollState& scroll, ScrollRequest request, int32_t thumb, int32_t client_height,
                  int32_t line_height);

// Which console lines a paint draws, and where. Lines first..last-1 (counted
// from 0 in the store) are drawn; line k's top is at y(k).
struct PaintRange {
  int32_t first = 0;
  int32_t last = 0;
  int32_t line_height = 1;
  int32_t origin = 0;  // y of line 0

  int32_t y(int32_t k) const { return origin + line_height * k; }
};

// Follow-the-end mode (a job runs) draws the last lines that fit, 10 pixels
// from the top; otherwise the lines from the scroll position. `top` and
// `bottom` bound the area being painted.
PaintRange paint_range(const ScrollState& scroll, int32_t line_count, int32_t top, int32_t bottom,
                       int32_t line_height, bool follow_end);

// The logo's top-left corner: near the bottom right, below the text's end.
struct Point {
  int32_t x = 0;
  int32_t y = 0;
};
Point logo_position(const ScrollState& scroll, int32_t client_width, int32_t client_height,
                    int32_t line_height);

// Tab stops every 15 pixels from the left margin: where text after a tab
// that starts at `x` (measured from the margin) continues.
constexpr int32_t kTabStop = 15;
constexpr int32_t next_tab_stop(int32_t x) { return (x / kTabStop + 1) * kTabStop; }

}  // namespace zelvo::shell
