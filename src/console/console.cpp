#include "console/console.h"

#include <algorithm>
#include <cstring>

namespace zelvo::console {

Console::Console() { text_[0] = kLineEnd; }

void Console::append(const char* text) {
  append_text(text);
  if (view_ != nullptr) view_->appended(text);
}

void Console::clear() {
  std::lock_guard<std::mutex> lock(store_lock_);
  length_ = 0;
  line_count_ = 0;
  text_[0] = kLineEnd;
}

// Drops whole lines from the front: everything up to and including the first
// terminator beyond kTrimKeepFrom. The line count never falls below 1 here.
void Console::trim_front() {
  int32_t end = kTrimKeepFrom + 1;
  while (end < length_ && text_[end] != kLineEnd) ++end;
  // The terminator at the current length always exists; past it nothing is
  // stored, so the scan never leaves the store.
  for (int32_t i = 0; i <= end; ++i) {
    if (text_[i] == kLineEnd && line_count_ > 1) --line_count_;
  }
  const int32_t removed = end + 1;
  const int32_t kept = std::max(0, length_ - removed);
  std::memmove(text_, text_ + removed, static_cast<size_t>(kConsoleSize - removed));
  length_ = kept;
  text_[length_] = kLineEnd;
}

void Console::append_text(const char* text) {
  const auto size = static_cast<int32_t>(std::strlen(text));
  std::lock_guard<std::mutex> lock(store_lock_);
  if (length_ > kTrimThreshold) trim_front();
  // A message longer than the room the rule leaves drops more whole lines,
  // so nothing is ever stored beyond the last character of the store.
  while (length_ > 0 && length_ + size >= kConsoleSize) trim_front();
  for (int32_t i = 0; i < size && length_ + 1 < kConsoleSize; ++i) {
    if (text[i] == '\n') {
      text_[length_++] = kLineEnd;
      ++line_count_;
    } else {
      text_[length_++] = text[i];
    }
    text_[length_] = kLineEnd;
  }
}

std::string Console::contents() const {
  std::lock_guard<std::mutex> lock(store_lock_);
  std::string out(text_, static_cast<size_t>(length_));
  std::replace(out.begin(), out.end(), kLineEnd, '\n');
  return out;
}

}  // namespace zelvo::console
