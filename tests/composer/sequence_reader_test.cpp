#include "composer/sequence_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "composer/composer_test_util.h"

namespace zelvo::composer {
namespace {

// Pieces of a MusicXML file in the layout score editors write.
std::string pitched(const std::string& step, int alter, int octave, int duration, const std::string& extra = "",
                    const std::string& before_pitch = "") {
  std::string out = "      <note>\n" + before_pitch + "        <pitch>\n          <step>" + step + "</step>\n";
  if (alter != 0) out += "          <alter>" + std::to_string(alter) + "</alter>\n";
  out += "          <octave>" + std::to_string(octave) + "</octave>\n        </pitch>\n";
  if (duration > 0) out += "        <duration>" + std::to_string(duration) + "</duration>\n";
  return out + extra + "        <type>quarter</type>\n      </note>\n";
}
std::string chord_note(const std::string& step, int octave, int duration) {
  return pitched(step, 0, octave, duration, "", "        <chord/>\n");
}
std::string rest(int duration) {
  return "      <note>\n        <rest/>\n        <duration>" + std::to_string(duration) + "</duration>\n      </note>\n";
}
const std::string kTieStart = "        <tie type=\"start\"/>\n";
const std::string kTieStop = "        <tie type=\"stop\"/>\n";
std::string backup(int duration) {
  return "      <backup>\n        <duration>" + std::to_string(duration) + "</duration>\n      </backup>\n";
}
std::string measure(int number, const std::string& body, bool closes_sequence = false, int divisions = 0) {
  std::string out = "    <measure number=\"" + std::to_string(number) + "\">\n";
  if (divisions > 0) {
    out += "      <attributes>\n        <divisions>" + std::to_string(divisions) + "</divisions>\n      </attributes>\n";
  }
  out += body;
  if (closes_sequence) out += "      <barline location=\"right\">\n        <bar-style>light-heavy</bar-style>\n      </barline>\n";
  return out + "    </measure>\n";
}
std::string part(int id, const std::string& measures) {
  return "  <part id=\"P" + std::to_string(id) + "\">\n" + measures + "  </part>\n";
}
std::string score(const std::string& parts) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"3.1\">\n  <part-list>\n"
         "    <score-part id=\"P1\">\n      <part-name>Music</part-name>\n    </score-part>\n  </part-list>\n" +
         parts + "</score-partwise>\n";
}

class SequenceReaderTest : public ::testing::Test {
 protected:
  SequenceReadResult read(const std::string& xml) {
    const std::string path = folder.file("insec.xml");
    test::write_file(path, xml);
    return read_sequence_file(path.c_str(), timing, *table, *sequences);
  }
  // The driver's steps after a successful read.
  void make() {
    compute_times(*table, timing);
    sort_events(*table);
    ASSERT_TRUE(make_sequences(*table, *sequences));
  }
  std::vector<test::Event> events() const {
    std::vector<test::Event> out;
    for (int i = 0; i < table->count; ++i) {
      const NoteEvent& e = table->events[i];
      out.push_back({e.Inst, e.Cpin, e.Ckin, e.Dur, e.Note, e.Vel});
    }
    return out;
  }
  std::vector<int> boundaries() const {
    return std::vector<int>(sequences->boundaries.begin(),
                            sequences->boundaries.begin() + sequences->sequence_count + 1);
  }

  app::TempFolder folder;
  ComposerTiming timing{1, 120, 4, 4, 48, 12, 2};
  std::unique_ptr<NoteTable> table = std::make_unique<NoteTable>();
  std::unique_ptr<SequenceTables> sequences = std::make_unique<SequenceTables>();
};

TEST_F(SequenceReaderTest, MissingFileChangesNothing) {
  table->count = 7;
  EXPECT_EQ(read_sequence_file(folder.file("none.xml").c_str(), timing, *table, *sequences).status,
            SequenceReadStatus::kNotOpened);
  EXPECT_EQ(table->count, 7);
}

TEST_F(SequenceReaderTest, PitchesAndDurations) {
  const std::string body = pitched("C", 0, 4, 1) + pitched("C", -1, 4, 1) + pitched("A", 0, 4, 2) +
                           pitched("F", 1, 3, 4);
  ASSERT_EQ(read(score(part(1, measure(1, body, false, 4)))).status, SequenceReadStatus::kRead);
  // divisions 4: a duration of 1 is a sixteenth, 12 clicks.
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 0, 12, 60, 100},
                                                 {1, 1, 12, 12, 59, 100},
                                                 {1, 1, 24, 24, 69, 100},
                                                 {1, 1, 48, 48, 54, 100}}));
}

TEST_F(SequenceReaderTest, ChordNotesShareTheFirstNotesClick) {
  const std::string body = pitched("C", 0, 4, 1) + pitched("E", 0, 4, 2) + chord_note("G", 4, 1) +
                           chord_note("C", 5, 3) + pitched("D", 0, 4, 1);
  ASSERT_EQ(read(score(part(1, measure(1, body, false, 1)))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 0, 48, 60, 100},
                                                 {1, 1, 48, 96, 64, 100},
                                                 {1, 1, 48, 48, 67, 100},
                                                 {1, 1, 48, 144, 72, 100},
                                                 {1, 1, 144, 48, 62, 100}}));
}

TEST_F(SequenceReaderTest, RestMovesOnWithoutANote) {
  const std::string body = pitched("C", 0, 4, 1) + rest(2) + pitched("D", 0, 4, 1);
  ASSERT_EQ(read(score(part(1, measure(1, body, false, 1)))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 0, 48, 60, 100}, {1, 1, 144, 48, 62, 100}}));
}

TEST_F(SequenceReaderTest, TiedNotesAcrossABarBecomeOne) {
  const std::string m1 = rest(3) + pitched("G", 0, 4, 1, kTieStart);
  const std::string m2 = pitched("G", 0, 4, 1, kTieStop) + pitched("A", 0, 4, 1);
  ASSERT_EQ(read(score(part(1, measure(1, m1, false, 1) + measure(2, m2)))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 144, 96, 67, 100}, {1, 2, 48, 48, 69, 100}}));
}

TEST_F(SequenceReaderTest, ChainOfTiesExtendsTheFirstNote) {
  const std::string body = pitched("C", 0, 4, 1, kTieStart) + pitched("C", 0, 4, 1, kTieStop + kTieStart) +
                           pitched("C", 0, 4, 2, kTieStop) + pitched("C", 0, 4, 1, kTieStop);
  ASSERT_EQ(read(score(part(1, measure(1, body, false, 1)))).status, SequenceReadStatus::kRead);
  // The last tie-stop finds no open tie: its note stays.
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 0, 192, 60, 100}, {1, 1, 192, 48, 60, 100}}));
}

TEST_F(SequenceReaderTest, BackupStartsASecondVoiceAtTheBarStart) {
  const std::string body = pitched("E", 0, 5, 2) + pitched("D", 0, 5, 2) + backup(4) + pitched("C", 0, 3, 4);
  ASSERT_EQ(read(score(part(1, measure(1, body, false, 1)))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 0, 96, 76, 100},
                                                 {1, 1, 96, 96, 74, 100},
                                                 {1, 1, 0, 192, 48, 100}}));
}

TEST_F(SequenceReaderTest, ForwardAndGraceNotesCompleteNothing) {
  const std::string forward = "      <forward>\n        <duration>1</duration>\n      </forward>\n";
  const std::string grace = pitched("B", 0, 4, 0);
  const std::string body = forward + grace + pitched("C", 0, 4, 1);
  ASSERT_EQ(read(score(part(1, measure(1, body, false, 1)))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 48, 48, 60, 100}}));
}

TEST_F(SequenceReaderTest, CrLfLinesAndUpperCaseTags) {
  std::string xml = score(part(1, measure(1, pitched("D", 0, 4, 1), false, 1)));
  std::string crlf;
  for (char c : xml) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  size_t at = crlf.find("<duration>1");
  crlf.replace(at, 9, "<DURATION");
  ASSERT_EQ(read(crlf).status, SequenceReadStatus::kRead);
  EXPECT_EQ(events(), (std::vector<test::Event>{{1, 1, 0, 48, 62, 100}}));
}

TEST_F(SequenceReaderTest, BarStyleLinesOfPartOneSplitTheSequences) {
  std::string p1;
  std::string p2;
  for (int m = 1; m <= 8; ++m) {
    p1 += measure(m, pitched("C", 0, 4, 4), m == 4 || m == 8, m == 1 ? 1 : 0);
    p2 += measure(m, pitched("C", 0, 3, 2) + pitched("G", 0, 3, 2), m == 2, m == 1 ? 1 : 0);
  }
  ASSERT_EQ(read(score(part(1, p1) + part(2, p2))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(sequences->stored_boundaries, 2);  // part 2's bar-style line does not count
  make();
  EXPECT_EQ(sequences->sequence_count, 2);
  EXPECT_EQ(boundaries(), (std::vector<int>{0, 12, 24}));
  const SequenceNote& first = sequences->notes[0];
  EXPECT_EQ(first.bar, 0);
  EXPECT_EQ(first.note, 60);
  const SequenceNote& second_start = sequences->notes[12];
  EXPECT_EQ(second_start.bar, 0);
  EXPECT_EQ(second_start.note, 60);
  // Part 2's notes of measure 8 are in the second sequence, bar 3.
  EXPECT_EQ(sequences->notes[23].bar, 3);
  EXPECT_EQ(sequences->notes[23].click, 96);
  EXPECT_EQ(sequences->notes[23].note, 55);
}

TEST_F(SequenceReaderTest, NotesAfterTheLastBarStyleMakeOneMoreSequence) {
  std::string p1;
  for (int m = 1; m <= 3; ++m) p1 += measure(m, pitched("C", 0, 4, 4), m == 2, m == 1 ? 1 : 0);
  ASSERT_EQ(read(score(part(1, p1))).status, SequenceReadStatus::kRead);
  make();
  EXPECT_EQ(sequences->sequence_count, 2);
  EXPECT_EQ(boundaries(), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(sequences->notes[2].bar, 0);
}

TEST_F(SequenceReaderTest, WithoutBarStyleTheWholeFileIsOneSequence) {
  std::string p1;
  for (int m = 3; m <= 5; ++m) p1 += measure(m, pitched("E", 0, 4, 4), false, m == 3 ? 1 : 0);
  ASSERT_EQ(read(score(part(1, p1))).status, SequenceReadStatus::kRead);
  make();
  EXPECT_EQ(boundaries(), (std::vector<int>{0, 3}));
  EXPECT_EQ(sequences->notes[2].bar, 2);
}

TEST_F(SequenceReaderTest, ASequenceWithoutNotesIsEmpty) {
  // Sequences: measures 1-2, measure 3 (silent), measures 4-5.
  const std::string p1 = measure(1, pitched("C", 0, 4, 4), false, 1) + measure(2, pitched("D", 0, 4, 4), true) +
                         measure(3, rest(4), true) + measure(4, pitched("E", 0, 4, 4)) +
                         measure(5, pitched("F", 0, 4, 4), true);
  ASSERT_EQ(read(score(part(1, p1))).status, SequenceReadStatus::kRead);
  make();
  EXPECT_EQ(sequences->sequence_count, 3);
  EXPECT_EQ(boundaries(), (std::vector<int>{0, 2, 2, 4}));
  EXPECT_EQ(sequences->notes[3].bar, 1);
}

TEST_F(SequenceReaderTest, MalformedLinesAreRefusedWithTheirLine) {
  SequenceReadResult r = read("<part id=\"Piano\">\n");
  EXPECT_EQ(r.status, SequenceReadStatus::kMissingNumber);
  EXPECT_EQ(r.line, 1);
  r = read("<part id=\"P1\">\n<measure number=\"1\">\n<divisions>x</divisions>\n");
  EXPECT_EQ(r.status, SequenceReadStatus::kMissingNumber);
  EXPECT_EQ(r.line, 3);
  r = read(score(part(1, measure(1, pitched("C", 0, 4, 1)))));
  EXPECT_EQ(r.status, SequenceReadStatus::kNoDivisions);
}

TEST_F(SequenceReaderTest, TooManyBarStyleLinesAreRefused) {
  std::string p1;
  for (int m = 1; m <= kMaxBarStyleLines; ++m) p1 += measure(m, "", true);
  EXPECT_EQ(read(score(part(1, p1))).status, SequenceReadStatus::kRead);
  p1 += measure(kMaxBarStyleLines + 1, "", true);
  EXPECT_EQ(read(score(part(1, p1))).status, SequenceReadStatus::kTooManyBoundaries);
}

TEST_F(SequenceReaderTest, MoreNotesThanTheSequenceTableAreRefused) {
  table->count = kMaxSequenceNotes + 1;
  for (int i = 0; i < table->count; ++i) table->events[i] = NoteEvent{1, 1, i, 1, 60, 100};
  sequences->stored_boundaries = 0;
  EXPECT_FALSE(make_sequences(*table, *sequences));
  table->count = kMaxSequenceNotes;
  EXPECT_TRUE(make_sequences(*table, *sequences));
  EXPECT_EQ(sequences->boundaries[1], kMaxSequenceNotes);
}

TEST_F(SequenceReaderTest, MoreNotesThanTheEventTableAreRefused) {
  std::string body;
  for (int i = 0; i < 200; ++i) body += pitched("C", 0, 4, 1);
  std::string measures = measure(1, body, false, 1);
  for (int m = 2; m <= kMaxEvents / 200; ++m) measures += measure(m, body);
  EXPECT_EQ(read(score(part(1, measures))).status, SequenceReadStatus::kRead);
  EXPECT_EQ(table->count, kMaxEvents);
  measures += measure(kMaxEvents / 200 + 1, pitched("C", 0, 4, 1));
  EXPECT_EQ(read(score(part(1, measures))).status, SequenceReadStatus::kTooManyNotes);
}

}  // namespace
}  // namespace zelvo::composer
