// Songs made ready for playing: message times under tempo maps, bar lines
// under meter changes, and the time-to-bar and time-to-tick lookups, from
// the table of cases in tests/data/player/songs.txt.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "player/song.h"
#include "support/cases.h"
#include "support/status_text.h"

namespace zelvo::player {
namespace {

// The events of a case, one a line: "division N", "end TICK",
// "tempo TICK MICROS", "meter TICK NUMERATOR DENOMINATOR_EXPONENT",
// "on TICK CHANNEL PITCH VELOCITY", "off TICK CHANNEL PITCH",
// "program TICK CHANNEL N", "bend TICK CHANNEL VALUE".
midi::Timeline file_of(const std::string& text) {
  midi::Timeline file;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string what;
    midi::TimelineEvent event;
    int64_t a = 0, b = 0, c = 0;
    words >> what >> event.tick >> a >> b >> c;
    event.channel = static_cast<uint8_t>(a);
    event.data1 = static_cast<uint8_t>(b);
    event.data2 = static_cast<uint8_t>(c);
    if (what == "division") file.division = static_cast<int32_t>(event.tick);
    if (what == "end") file.end_tick = event.tick;
    if (what == "division" || what == "end" || what.empty()) continue;
    if (what == "tempo") {
      event = {event.tick, midi::EventKind::kTempo, 0, 0, 0, static_cast<int32_t>(a)};
    } else if (what == "meter") {
      event = {event.tick, midi::EventKind::kTimeSignature, 0, static_cast<uint8_t>(a), static_cast<uint8_t>(b), 0};
    } else if (what == "off") {
      event.kind = midi::EventKind::kNoteOff;
    } else if (what == "program") {
      event.kind = midi::EventKind::kProgram;
    } else if (what == "bend") {
      event.kind = midi::EventKind::kPitchBend;
      event.value = static_cast<int32_t>(b);
    }
    file.events.push_back(event);
  }
  return file;
}

std::string describe(const Song& song, const std::vector<std::string>& probes) {
  // Long lists of bar lines as their count, first and last ones.
  const std::vector<int64_t>& lines = song.bar_lines;
  std::string text = "bars";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines.size() > 12 && i == 3) {
      text += " ... (" + std::to_string(lines.size()) + " bar lines)";
      i = lines.size() - 3;
    }
    text += " " + std::to_string(lines[i]);
  }
  text += "\nend " + std::to_string(song.end_micros) + "\n";
  for (const TimedMessage& message : song.messages) {
    char bytes[32];
    std::snprintf(bytes, sizeof bytes, message.size == 3 ? " %02x %02x %02x" : " %02x %02x", message.bytes[0],
                  message.bytes[1], message.bytes[2]);
    text += std::to_string(message.micros) + bytes + "\n";
  }
  for (const std::string& probe : probes) {
    const int64_t micros = std::stoll(probe);
    text += "at " + probe + ": bar " + std::to_string(song.bar_at(micros)) + " tick " +
            std::to_string(song.tick_at(micros)) + "\n";
  }
  return text;
}

TEST(SongTest, TimesBarsAndLookupsFollowTheTable) {
  test::check_cases(ZELVO_TEST_DATA "/player/songs.txt", [](const test::Case& c) {
    return describe(make_song(file_of(c.files.at(0).second)), {c.call.begin() + 1, c.call.end()});
  });
}

TEST(SongTest, AFileThatIsNotMidiIsRefusedWithItsName) {
  Song song;
  const std::string error = test::english(load_song(ZELVO_TEST_DATA "/player/songs.txt", song));
  EXPECT_NE(error.find("songs.txt"), std::string::npos) << error;
}

}  // namespace
}  // namespace zelvo::player
