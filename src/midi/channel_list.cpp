#include "midi/channel_list.h"

namespace zelvo::midi {

namespace {

// channel = digit [digit]; its value 1-16. Advances `at` past it.
bool read_channel(std::string_view text, size_t& at, int& channel) {
  const size_t start = at;
  channel = 0;
  while (at < text.size() && at - start < 2 && text[at] >= '0' && text[at] <= '9') {
    channel = channel * 10 + (text[at++] - '0');
  }
  return at > start && channel >= 1 && channel <= 16;
}

}  // namespace

// list = item {"," item}; item = channel ["-" channel].
bool read_channel_list(std::string_view text, uint16_t& mask) {
  uint16_t read = 0;
  size_t at = 0;
  for (;;) {
    int first = 0;
    if (!read_channel(text, at, first)) return false;
    int last = first;
    if (at < text.size() && text[at] == '-' && (!read_channel(text, ++at, last) || last < first)) return false;
    for (int channel = first; channel <= last; ++channel) read |= static_cast<uint16_t>(1u << (channel - 1));
    if (at == text.size()) break;
    if (text[at++] != ',') return false;
  }
  mask = read;
  return true;
}

std::string write_channel_list(uint16_t mask) {
  std::string out;
  for (int channel = 1; channel <= 16;) {
    if ((mask >> (channel - 1) & 1) == 0) {
      ++channel;
      continue;
    }
    int last = channel;
    while (last < 16 && (mask >> last & 1) != 0) ++last;
    if (!out.empty()) out += ',';
    out += std::to_string(channel);
    if (last - channel >= 2) {
      out += '-' + std::to_string(last);
    } else if (last > channel) {
      out += ',' + std::to_string(last);
    }
    channel = last + 1;
  }
  return out;
}

}  // namespace zelvo::midi
