// Scores that change meter, harmonized: every note of the recorded
// outar.mid must sit where MuseScore's own MIDI export of the same score has
// it, and the time signatures must change at the same ticks. The harmonizer
// may cut a note where the chord changes; the pieces must then follow each
// other without a gap and end where the score's note ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "midi/timeline.h"
#include "support/status_text.h"

namespace zelvo::roll {
namespace {

const std::string kData = std::string(ZELVO_TEST_DATA) + "/notation/";

struct Placed {
  std::map<int, std::vector<std::pair<int64_t, int64_t>>> notes;  // channel: start, end
  std::vector<std::vector<int64_t>> meters;                      // tick, numerator, exponent
};

// Notes and time signatures, ticks scaled to `division` and moved by `offset`.
Placed placed(const std::string& path, int32_t division, int64_t offset) {
  midi::Timeline song;
  EXPECT_EQ(test::english(midi::read_timeline_file(path, song)), "");
  Placed out;
  std::map<std::pair<int, int>, int64_t> sounding;
  // MuseScore ends a note a tick or two early: round every time to the
  // nearest 32nd note, the finest value these scores hold.
  const int64_t grid = song.division / 8;
  const auto scaled = [&](int64_t tick) {
    return (tick + grid / 2) / grid * grid * division / song.division + offset;
  };
  for (const midi::TimelineEvent& e : song.events) {
    const std::pair<int, int> key{e.channel, e.data1};
    if (e.kind == midi::EventKind::kNoteOn) sounding[key] = scaled(e.tick);
    if (e.kind == midi::EventKind::kNoteOff && sounding.count(key) != 0) {
      out.notes[e.channel].push_back({sounding[key], scaled(e.tick)});
      sounding.erase(key);
    }
    if (e.kind == midi::EventKind::kTimeSignature) out.meters.push_back({scaled(e.tick), e.data1, e.data2});
  }
  for (auto& [channel, list] : out.notes) std::sort(list.begin(), list.end());
  return out;
}

// Checks one score; answers how many of its notes were found in place.
int check_score(const std::string& reference, const std::string& result, int64_t pickup_quarters) {
  SCOPED_TRACE(result);
  midi::Timeline song;
  EXPECT_EQ(test::english(midi::read_timeline_file(kData + result, song)), "");
  const Placed out = placed(kData + result, song.division, 0);
  // A pickup sounds at the end of a silent bar 1: everything moves by the
  // missing part of that bar, and the pickup's own short meter goes.
  Placed score = placed(kData + reference, song.division, pickup_quarters * song.division);
  if (pickup_quarters > 0) {
    score.meters.erase(score.meters.begin());
    score.meters.front()[0] = 0;
  }
  EXPECT_EQ(score.meters, out.meters);
  int found = 0;
  for (const auto& [channel, notes] : score.notes) {
    std::map<int64_t, int64_t> pieces;  // start: end
    for (const auto& [start, end] : out.notes.at(channel)) pieces[start] = end;
    size_t used = 0;
    for (const auto& [start, end] : notes) {
      int64_t at = start;
      while (at < end && pieces.count(at) != 0) {
        at = pieces[at];
        ++used;
      }
      EXPECT_EQ(at, end) << "channel " << channel << " note from " << start << " to " << end;
      found += at == end ? 1 : 0;
    }
    EXPECT_EQ(used, out.notes.at(channel).size()) << "channel " << channel << " has notes the score has not";
  }
  return found;
}

TEST(MeterPlacementTest, NotesWhereMuseScorePlaysThem) {
  EXPECT_EQ(check_score("meter_sources/meters.mid", "meters_laid_out/expected/outar.mid", 0), 94);
  EXPECT_EQ(check_score("meter_sources/pickup_meters.mid", "pickup_meters_laid_out/expected/outar.mid", 3), 42);
  EXPECT_EQ(check_score("meter_sources/lead_meters.mid", "lead_sheet_meters/expected/outar.mid", 0), 30);
  EXPECT_EQ(check_score("meter_sources/meter_change.mid", "meter_change/expected/outar.mid", 0), 10);
}

}  // namespace
}  // namespace zelvo::roll
