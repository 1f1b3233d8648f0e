#include "harmonizer/listing_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::show;
using test::WorkFolder;
using test::write_file;

// The composer's listing, laid out as the composer writes it.
std::string listing(const std::string& rows, const std::string& timing = "90,3,4,48,12") {
  return "ZAZAD Output Data\n\n" + timing +
         "\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n"
         "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n" +
         rows;
}

class ListingReaderTest : public ::testing::Test {
 protected:
  ListingResult read(const std::string& text, int32_t first = 1, int32_t count = 2) {
    write_file("outco.rur", text);
    return read_composer_listing(state->engine.music, state->settings.time, first, count,
                                 "outco.rur");
  }

  WorkFolder folder;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST_F(ListingReaderTest, ReadsTimingAndNotesInRange) {
  const std::string rows =
      "1\t2\t12\t24\t60\t100\t\n"
      "3\t1\t0\t48\t40\t90\t\n"
      "2\t1\t36\t-12\t67\t80\t\n"
      "0\t1\t0\t48\t50\t90\t\n"
      "1\t3\t0\t48\t62\t0\t\n";
  EXPECT_EQ(read(listing(rows)), ListingResult::kRead);
  const engine::TimeSettings& time = state->settings.time;
  EXPECT_EQ(time.tempo, 90);
  EXPECT_EQ(time.compas_num, 3);
  EXPECT_EQ(time.compas_den, 4);
  EXPECT_EQ(time.den_exponent, 2);
  EXPECT_EQ(time.clicks_parte, 48);
  EXPECT_EQ(time.clicks_semic, 12);
  EXPECT_EQ(show(state->engine.music),
            "1 2 12 24 60 100 0\n"
            "2 1 36 -12 67 80 0\n"
            "1 3 0 48 62 0 0\n");
}

TEST_F(ListingReaderTest, CrlfLinesAndSixEight) {
  std::string text = listing("1\t1\t0\t24\t60\t100\t\n", "100,6,8,24,12");
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(read(crlf), ListingResult::kRead);
  EXPECT_EQ(state->settings.time.compas_den, 8);
  EXPECT_EQ(state->settings.time.den_exponent, 3);
  EXPECT_EQ(show(state->engine.music), "1 1 0 24 60 100 0\n");
}

TEST_F(ListingReaderTest, EmptyListingAndMissingFile) {
  EXPECT_EQ(read(listing("")), ListingResult::kRead);
  EXPECT_EQ(state->engine.music.note_count, 0);
  EXPECT_EQ(read_composer_listing(state->engine.music, state->settings.time, 1, 2, "none.rur"),
            ListingResult::kNotOpened);
}

TEST_F(ListingReaderTest, MoreNotesThanTheTable) {
  std::string rows;
  for (int i = 0; i < engine::kMaxMusicNotes; ++i) rows += "1\t1\t0\t48\t60\t100\t\n";
  EXPECT_EQ(read(listing(rows)), ListingResult::kRead);
  EXPECT_EQ(state->engine.music.note_count, engine::kMaxMusicNotes);
  // Notes outside the range do not count.
  EXPECT_EQ(read(listing(rows + "5\t1\t0\t48\t60\t100\t\n")), ListingResult::kRead);
  EXPECT_EQ(read(listing(rows + "2\t1\t0\t48\t60\t100\t\n")), ListingResult::kTooManyNotes);
  EXPECT_EQ(state->engine.music.note_count, engine::kMaxMusicNotes);
}

TEST_F(ListingReaderTest, ListingInteger) {
  EXPECT_EQ(listing_integer("  -12\t"), -12);
  EXPECT_EQ(listing_integer("x"), 0);
  EXPECT_EQ(listing_integer("-"), 0);
  EXPECT_EQ(listing_integer("99999999999"), 2147483647);
  EXPECT_EQ(listing_integer("-99999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace zelvo::harmonizer
