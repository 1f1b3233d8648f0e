// The decoded timeline over the table of cases in data/midi/timeline_cases.txt:
// each file (as hex) and its timeline, one event a line, or the error the
// roll and the player print ("call timeline"); or each track decoded as
// written, as notation reads the merged track ("call track").
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "midi/timeline.h"
#include "support/cases.h"

namespace zelvo::midi {
namespace {

constexpr const char* kKindNames[] = {"on", "off", "key-pressure", "controller", "program",
                                      "channel-pressure", "bend", "tempo", "meter", "key", "system"};

std::string record(const Timeline& timeline) {
  std::string out = "division " + std::to_string(timeline.division) + " end " + std::to_string(timeline.end_tick) + "\n";
  for (const TimelineEvent& event : timeline.events) {
    char line[120];
    std::snprintf(line, sizeof line, "%lld %s ch%d %d %d %d\n", static_cast<long long>(event.tick),
                  kKindNames[static_cast<int>(event.kind)], event.channel + 1, event.data1, event.data2, event.value);
    out += line;
  }
  return out;
}

std::string record(const std::string& call, const std::string& bytes) {
  if (call == "track") {
    Song song;
    const ParseResult result = parse(bytes, song);
    std::string out = result.ok() ? "" : "fault at track " + std::to_string(result.track) + "\n";
    for (const SongTrack& track : song.tracks) out += record(decode_track(track, static_cast<int32_t>(song.division)));
    return out;
  }
  Timeline timeline;
  const base::Status read = read_timeline(bytes, timeline);
  if (!read.ok()) return "error: " + base::render(read.error(), base::kEnglish) + "\n";
  return record(timeline);
}

TEST(TimelineCasesTest, EveryFileDecodesAsRecorded) {
  test::check_cases(std::string(ZELVO_TEST_DATA) + "/midi/timeline_cases.txt", [](const test::Case& c) {
    EXPECT_EQ(c.files.size(), 1u) << c.name;
    return c.files.empty() || c.call.empty() ? std::string() : record(c.call.front(), c.files.front().second);
  });
}

}  // namespace
}  // namespace zelvo::midi
