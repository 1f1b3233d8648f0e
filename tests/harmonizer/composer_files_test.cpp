// The composer's own output (the demo's outco.rur and outco.mid, kept as
// test data) read back by the harmonizer's readers.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harmonizer/listing_reader.h"
#include "harmonizer/midi_reader.h"
#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

std::vector<std::string> sorted_records(const engine::MusicNoteTable& table) {
  std::vector<std::string> rows;
  for (int32_t i = 0; i < table.note_count; ++i) {
    const engine::MusicNote& n = table.notes[i];
    char text[96];
    std::snprintf(text, sizeof text, "%02d %04d %05d %03d %d %d", n.Inst, n.Cpin, n.Ckin, n.Note,
                  n.Dur, n.Vel);
    rows.push_back(text);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

TEST(ComposerFilesTest, ListingOfTheDemo) {
  auto state = test::make_state();
  const std::string name = test::test_data("composer_outco.rur");
  ASSERT_EQ(read_composer_listing(state->engine.music, state->settings.time, 1, 3, name.c_str()),
            ListingResult::kRead);
  const engine::TimeSettings& time = state->settings.time;
  EXPECT_EQ(time.tempo, 96);
  EXPECT_EQ(time.compas_num, 4);
  EXPECT_EQ(time.compas_den, 4);
  EXPECT_EQ(time.clicks_parte, 48);
  EXPECT_EQ(time.clicks_semic, 12);
  const engine::MusicNoteTable& music = state->engine.music;
  ASSERT_EQ(music.note_count, 153);  // instruments 1 to 3; 4 and 10 are left out
  EXPECT_EQ(test::show(music.notes[0]), "2 1 0 180 48 90 0");
  EXPECT_EQ(test::show(music.notes[1]), "3 1 0 44 67 60 0");
  EXPECT_EQ(test::show(music.notes[2]), "1 1 0 48 64 73 0");
  int64_t total = 0;
  for (int32_t i = 0; i < music.note_count; ++i) total += music.notes[i].Dur;
  EXPECT_EQ(total, 9224);
}

TEST(ComposerFilesTest, MidiFileOfTheDemoHoldsTheListingsNotes) {
  auto listing = test::make_state();
  const std::string rur = test::test_data("composer_outco.rur");
  ASSERT_EQ(read_composer_listing(listing->engine.music, listing->settings.time, 0, 17,
                                  rur.c_str()),
            ListingResult::kRead);
  auto midi = test::make_state();
  const std::string mid = test::test_data("composer_outco.mid");
  ASSERT_EQ(read_midi(midi->engine.music, midi->settings.time, mid.c_str()), MidiResult::kRead);
  EXPECT_EQ(midi->engine.music.note_count, 297);
  EXPECT_EQ(midi->settings.time.tempo, 96);
  EXPECT_EQ(midi->settings.time.clicks_semic, 12);
  EXPECT_EQ(midi->settings.time.clicks_parte, 48);
  EXPECT_EQ(sorted_records(midi->engine.music), sorted_records(listing->engine.music));
}

}  // namespace
}  // namespace zelvo::harmonizer
