// The channel list reader (zelvo play and watch --channels) on any bytes:
// a list it reads is written back as one that reads to the same mask.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "midi/channel_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  uint16_t mask = 0;
  if (!midi::read_channel_list(text, mask)) return 0;
  uint16_t again = 0;
  if (mask == 0 || !midi::read_channel_list(midi::write_channel_list(mask), again) || again != mask) {
    __builtin_trap();
  }
  return 0;
}
