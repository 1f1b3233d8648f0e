// Sequence generators through `zelvo compose`, with a sequence file of
// quarter-note phrases, read back from the listing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "composer/composer_test_util.h"

namespace zelvo::composer {
namespace {

using test::Composed;
using test::Event;
using test::Row;
using test::Rows;

struct XmlNote {
  const char* step;
  int octave;
  int duration;  // in quarters (divisions 1)
  bool chord = false;
};

// One measure per phrase, each closed by a bar-style line: phrase s is sequence s.
std::string sequence_file(const std::vector<std::vector<XmlNote>>& phrases) {
  std::string xml = "<?xml version=\"1.0\"?>\n<score-partwise>\n  <part id=\"P1\">\n";
  int number = 1;
  for (const auto& phrase : phrases) {
    xml += "    <measure number=\"" + std::to_string(number++) + "\">\n";
    if (number == 2) xml += "      <attributes>\n        <divisions>1</divisions>\n      </attributes>\n";
    for (const XmlNote& n : phrase) {
      xml += "      <note>\n";
      if (n.chord) xml += "        <chord/>\n";
      xml += std::string("        <pitch>\n          <step>") + n.step + "</step>\n          <octave>" +
             std::to_string(n.octave) + "</octave>\n        </pitch>\n        <duration>" +
             std::to_string(n.duration) + "</duration>\n      </note>\n";
    }
    xml += "      <barline location=\"right\">\n        <bar-style>light-heavy</bar-style>\n      </barline>\n"
           "    </measure>\n";
  }
  return xml + "  </part>\n</score-partwise>\n";
}

const std::string kPhrases = sequence_file({
    {{"C", 4, 1}, {"D", 4, 1}, {"E", 4, 1}, {"F", 4, 1}},                   // 0
    {{"C", 4, 1}, {"E", 4, 1}, {"G", 4, 1, true}, {"F", 4, 2}},             // 1: a chord
    {{"C", 4, 1}, {"D", 4, 1}, {"E", 4, 1}, {"F", 4, 1}, {"G", 4, 1}},      // 2: five notes
    {{"C", 4, 1}, {"G", 4, 1}},                                             // 3: two beats
});

struct SeqParams {
  std::string sequence = "0";
  std::string play_mode = "1";
  std::string stretch = "0";
  std::string first_note = "1";
  std::string notes_cut = "0";
  std::string rest = "0";
  std::string top_shift = "0";
  std::string bottom_shift = "0";
  std::string glide = "0";
  std::string length_bars = "1";
  std::string mode = "0";
};

Row seq_row(const std::string& name, const SeqParams& p) {
  return {name, p.mode, p.sequence, "1", "0", p.stretch, p.first_note, p.notes_cut, p.rest, p.length_bars, "0",
          p.play_mode, p.top_shift, p.bottom_shift, p.glide, "1"};
}

// (click from the piece's start, note, duration) of every event.
std::vector<std::array<int, 3>> played(const std::vector<Event>& events) {
  std::vector<std::array<int, 3>> out;
  for (const Event& e : events) out.push_back({(e[1] - 1) * 192 + e[2], e[4], e[3]});
  return out;
}

std::vector<std::array<int, 3>> play(const SeqParams& params, const std::string& insec = kPhrases) {
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("3", "120", "4", "4"), test::tgens({seq_row("S", params)}),
                                             test::tsal({{"", "1", "S", "Su", "Si", "100"}})}),
                   insec);
  EXPECT_EQ(run.result.status, 0) << run.result.output;
  return played(run.events);
}

using Played = std::vector<std::array<int, 3>>;

TEST(SequenceGeneratorTest, FourPlayModes) {
  SeqParams p;
  EXPECT_EQ(play(p), (Played{{0, 60, 48}, {48, 62, 48}, {96, 64, 48}, {144, 65, 48}}));
  p.play_mode = "3";
  EXPECT_EQ(play(p), (Played{{0, 65, 48}, {48, 64, 48}, {96, 62, 48}, {144, 60, 48}}));
  p.play_mode = "2.9";  // fractions are cut off
  EXPECT_EQ(play(p), (Played{{0, 65, 48}, {48, 63, 48}, {96, 61, 48}, {144, 60, 48}}));
  p.play_mode = "7";  // above 4 counts as 4
  EXPECT_EQ(play(p), (Played{{0, 60, 48}, {48, 61, 48}, {96, 63, 48}, {144, 65, 48}}));
}

TEST(SequenceGeneratorTest, ChordNotesComeOutInOneClick) {
  SeqParams p;
  p.sequence = "1";
  EXPECT_EQ(play(p), (Played{{0, 60, 48}, {48, 64, 48}, {48, 67, 48}, {96, 65, 96}}));
  p.play_mode = "3";
  EXPECT_EQ(play(p), (Played{{0, 65, 96}, {96, 67, 48}, {96, 64, 48}, {144, 60, 48}}));
}

TEST(SequenceGeneratorTest, WindowAndNextPass) {
  SeqParams p;
  p.sequence = "2";
  p.first_note = "2";
  p.notes_cut = "1";
  p.length_bars = "0";
  Composed run;
  Row row = seq_row("S", p);
  row[10] = "200";  // length clicks
  test::compose_in(run, test::html_document({test::tconf("1", "120", "4", "4"), test::tgens({row}),
                                             test::tsal({{"", "1", "S", "Su", "Si", "100"}})}),
                   kPhrases);
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  // Notes 2 to 4; the next pass starts when the last one ends.
  EXPECT_EQ(played(run.events), (Played{{0, 62, 48}, {48, 64, 48}, {96, 65, 48}, {144, 62, 48}}));
}

TEST(SequenceGeneratorTest, StretchDoublesDistancesAndDurations) {
  SeqParams p;
  p.sequence = "3";
  p.stretch = "2";
  p.length_bars = "2";
  EXPECT_EQ(play(p), (Played{{0, 60, 96}, {96, 67, 96}, {192, 60, 96}, {288, 67, 96}}));
  p.stretch = "0";
  EXPECT_EQ(play(p), (Played{{0, 60, 48}, {48, 67, 48}, {96, 60, 48}, {144, 67, 48}, {192, 60, 48},
                             {240, 67, 48}, {288, 60, 48}, {336, 67, 48}}));
}

TEST(SequenceGeneratorTest, RestInSixteenthsAfterEachPass) {
  SeqParams p;
  p.sequence = "3";
  p.rest = "4";
  p.length_bars = "2";
  EXPECT_EQ(play(p), (Played{{0, 60, 48}, {48, 67, 48}, {144, 60, 48}, {192, 67, 48}, {288, 60, 48},
                             {336, 67, 48}}));
}

TEST(SequenceGeneratorTest, ShiftsMapTheRangeLinearly) {
  SeqParams p;
  p.top_shift = "12";
  // 62 -> 2 * (1 + 12/5) + 60 = 66.8
  EXPECT_EQ(play(p), (Played{{0, 60, 48}, {48, 66, 48}, {96, 73, 48}, {144, 77, 48}}));
  p.play_mode = "2";
  p.top_shift = "0";
  p.bottom_shift = "-5";
  // Inverted: 60 -> 65, 65 -> 55.
  EXPECT_EQ(play(p), (Played{{0, 65, 48}, {48, 61, 48}, {96, 57, 48}, {144, 55, 48}}));
}

TEST(SequenceGeneratorTest, GlideSlidesTowardTheNextNote) {
  Composed run;
  SeqParams p;
  p.glide = "1";
  test::compose_in(
      run,
      test::html_document({test::tconf("1", "120", "4", "4"), test::tgens({seq_row("S", p)}),
                           test::tgenc({{"C", "0", "1", "0", "0", "192", "12", "1", "0", "12", "3", "1", "0", "0", "2"}}),
                           test::tsal({{"", "1", "S", "12", "Ci", "100"}})}),
      kPhrases);
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  std::vector<int> notes;
  for (const Event& e : run.events) notes.push_back(e[4]);
  EXPECT_EQ(notes, (std::vector<int>{60, 60, 61, 61, 62, 62, 63, 63, 64, 64, 64, 64, 65, 65, 65, 65}));
}

TEST(SequenceGeneratorTest, ProgramAtEveryNoteStartsABackwardPassAtTheLastNote) {
  // Mode 2 runs the program as each note falls due; the copy taken then
  // keeps the position the backward pass has just set.
  SeqParams p;
  p.mode = "2";
  p.play_mode = "3";
  p.top_shift = "0*Sk";
  p.length_bars = "2";
  EXPECT_EQ(play(p), (Played{{0, 65, 48}, {48, 64, 48}, {96, 62, 48}, {144, 60, 48},
                             {192, 65, 48}, {240, 64, 48}, {288, 62, 48}, {336, 60, 48}}));
}

TEST(SequenceGeneratorTest, FirstNoteIsPutBackInTheCopyOnly) {
  // The first note moves to 2 right after the first click. Within a pass the
  // program's value is put back into the copy only: the preview pass leaves
  // the program's 2 in the record, the full pass remembers that 2, so the
  // running pass continues from the moved window (E, F) and ends there.
  Composed run;
  SeqParams p;
  p.first_note = "1+(N&gt;3)";
  p.length_bars = "2";
  test::compose_in(run, test::html_document({test::tconf("2", "120", "4", "4"), test::tcal({{"N", "N+1"}}),
                                             test::tgens({seq_row("S", p)}),
                                             test::tsal({{"", "1", "S", "Su", "Si", "100"}})}),
                   kPhrases);
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(played(run.events), (Played{{0, 60, 48}, {48, 64, 48}, {96, 65, 48}, {144, 62, 48},
                                        {192, 64, 48}, {240, 65, 48}, {288, 62, 48}, {336, 64, 48}}));
}

TEST(SequenceGeneratorTest, ProgramAtPassStartKeepsTheWindowForThePass) {
  // Mode 1 runs the program only before a pass, so a first note that changes
  // on every click takes effect at the next pass.
  Composed run;
  SeqParams p;
  p.mode = "1";
  p.first_note = "1+(N&gt;3)";
  p.length_bars = "2";
  test::compose_in(run, test::html_document({test::tconf("2", "120", "4", "4"), test::tcal({{"N", "N+1"}}),
                                             test::tgens({seq_row("S", p)}),
                                             test::tsal({{"", "1", "S", "Su", "Si", "100"}})}),
                   kPhrases);
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(played(run.events), (Played{{0, 60, 48}, {48, 62, 48}, {96, 64, 48}, {144, 65, 48},
                                        {192, 62, 48}, {240, 64, 48}, {288, 65, 48}, {336, 62, 48}}));
}

TEST(SequenceGeneratorTest, LaterStartBeginsAPassAtTheFirstActiveClick) {
  // Reset at bar 1, click 0 while not yet active: the pass starts at click 96.
  Composed run;
  Row row = seq_row("S", SeqParams{});
  row[4] = "96";  // start click
  test::compose_in(run, test::html_document({test::tconf("2", "120", "4", "4"), test::tgens({row}),
                                             test::tsal({{"", "1", "S", "Su", "Si", "100"}})}),
                   kPhrases);
  ASSERT_EQ(run.result.status, 0) << run.result.output;
  EXPECT_EQ(played(run.events), (Played{{96, 60, 48}, {144, 62, 48}, {192, 64, 48}, {240, 65, 48}}));
}

TEST(SequenceGeneratorTest, UnknownSequenceOrNoFilePlaysNothing) {
  SeqParams p;
  p.sequence = "4";
  EXPECT_TRUE(play(p).empty());
  p.sequence = "-1";
  EXPECT_TRUE(play(p).empty());
  Composed run;
  test::compose_in(run, test::html_document({test::tconf("1", "120", "4", "4"), test::tgens({seq_row("S", SeqParams{})}),
                                             test::tsal({{"", "1", "S", "Su", "Si", "100"}})}));
  EXPECT_EQ(run.result.status, 0);
  EXPECT_TRUE(run.events.empty());
  EXPECT_NE(run.result.output.find("\nNo access to XML sequence file...\n\n"), std::string::npos);
}

}  // namespace
}  // namespace zelvo::composer
