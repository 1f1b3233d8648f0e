#include "shell/scroll.h"

#include <algorithm>

namespace zelvo::shell {

namespace {

int32_t lines_in(int32_t pixels, int32_t line_height) { return pixels / std::max(1, line_height); }

}  // namespace

void recompute_scroll(ScrollState& scroll, int32_t line_count, int32_t client_height,
                      int32_t line_height, bool follow_end) {
  scroll.maximum = std::max(0, line_count - lines_in(client_height, line_height) + 2);
  scroll.position = std::min(scroll.position, scroll.maximum);
  if (follow_end) scroll.position = scroll.maximum;
}

int32_t scroll_delta(const ScrollState& scroll, ScrollRequest request, int32_t thumb,
                     int32_t client_height, int32_t line_height) {
  const int32_t page = std::max(1, lines_in(client_height, line_height));
  int32_t d = 0;
  switch (request) {
    case ScrollRequest::kLineUp: d = -1; break;
    case ScrollRequest::kLineDown: d = 1; break;
    case ScrollRequest::kPageUp: d = -page; break;
    case ScrollRequest::kPageDown: d = page; break;
    case ScrollRequest::kThumbTrack: d = thumb - scroll.position; break;
    case ScrollRequest::kTop: d = -scroll.position; break;
    case ScrollRequest::kBottom: d = scroll.maximum - scroll.position; break;
    case ScrollRequest::kOther: d = 0; break;
  }
  return std::clamp(d, -scroll.position, scroll.maximum - scroll.position);
}

int32_t scroll_by(ScrollState& scroll, ScrollRequest request, int32_t thumb, int32_t client_height,
                  int32_t line_height) {
  const int32_t d = scroll_delta(scroll, request, thumb, client_height, line_height);
  scroll.position += d;
  return d;
}

PaintRange paint_range(const ScrollState& scroll, int32_t line_count, int32_t top, int32_t bottom,
                       int32_t line_height, bool follow_end) {
  PaintRange range;
  range.line_height = std::max(1, line_height);
  if (follow_end) {
    range.first = std::max(0, line_count - lines_in(bottom, line_height) + 2);
    range.last = line_count + 1;
    range.origin = 10 - range.line_height * range.first;
  } else {
    range.first = std::max(0, scroll.position + lines_in(top, line_height) - 1);
    range.last = std::min(line_count, scroll.position + lines_in(bottom, line_height));
    range.origin = range.line_height * (1 - scroll.position);
  }
  return range;
}

Point logo_position(const ScrollState& scroll, int32_t client_width, int32_t client_height,
                    int32_t line_height) {
  return Point{client_width - 100,
               client_height - 60 + (scroll.maximum - scroll.position) * line_height};
}

}  // namespace zelvo::shell
