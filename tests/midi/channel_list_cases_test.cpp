// The channel lists of zelvo play and watch (--channels) over the table in
// data/midi/channel_list_cases.txt: each list given, one a line, and the
// mask read with the list written back, or "refused".
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "midi/channel_list.h"
#include "support/cases.h"

namespace zelvo::midi {
namespace {

TEST(ChannelListCasesTest, EveryListReadsAsRecorded) {
  test::check_cases(std::string(ZELVO_TEST_DATA) + "/midi/channel_list_cases.txt", [](const test::Case& c) {
    std::string out;
    std::istringstream lists(c.files.empty() ? std::string() : c.files.front().second);
    for (std::string list; std::getline(lists, list);) {
      uint16_t mask = 0xABCD;
      char line[80];
      if (read_channel_list(list, mask)) {
        std::snprintf(line, sizeof line, "%s -> %04x %s\n", list.c_str(), mask, write_channel_list(mask).c_str());
        uint16_t again = 0;
        EXPECT_TRUE(read_channel_list(write_channel_list(mask), again) && again == mask) << list;
      } else {
        std::snprintf(line, sizeof line, "%s -> refused%s\n", list.c_str(), mask == 0xABCD ? "" : ", mask changed");
      }
      out += line;
    }
    return out;
  });
}

}  // namespace
}  // namespace zelvo::midi
