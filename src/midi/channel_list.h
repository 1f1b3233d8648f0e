#pragma once

// The channels a player lets sound, as the command line writes them:
// "1,3" or "1-4,10", MIDI channels from 1 to 16.
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvo::midi {

// Reads `text` (channel or FIRST-LAST ranges, comma-separated, no blanks)
// into `mask`, bit 0 for channel 1. False, with `mask` untouched, for
// anything else: an empty list or item, a number out of 1-16, a range that
// runs backwards.
bool read_channel_list(std::string_view text, uint16_t& mask);

// The mask as read_channel_list reads it back, ranges of three or more
// channels joined ("1-4,10"); "" for none.
std::string write_channel_list(uint16_t mask);

}  // namespace zelvo::midi
