#include "harmonizer/musicxml_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::show;
using test::WorkFolder;
using test::write_file;

std::string pitch(char step, int octave, int alter = 0) {
  std::string text = "        <pitch>\n          <step>" + std::string(1, step) + "</step>\n";
  if (alter != 0) text += "          <alter>" + std::to_string(alter) + "</alter>\n";
  return text + "          <octave>" + std::to_string(octave) + "</octave>\n        </pitch>\n";
}

std::string note(char step, int octave, int duration, const std::string& extra = "",
                 int alter = 0) {
  return "      <note>\n" + extra + pitch(step, octave, alter) + "        <duration>" +
         std::to_string(duration) + "</duration>\n      </note>\n";
}

std::string chord_note(char step, int octave, int duration) {
  return "      <note>\n        <chord/>\n" + pitch(step, octave) + "        <duration>" +
         std::to_string(duration) + "</duration>\n      </note>\n";
}

std::string tied(char step, int octave, int duration, const std::string& ties) {
  std::string text = "      <note>\n" + pitch(step, octave) + "        <duration>" +
                     std::to_string(duration) + "</duration>\n";
  if (ties.find("stop") != std::string::npos) text += "        <tie type=\"stop\"/>\n";
  if (ties.find("start") != std::string::npos) text += "        <tie type=\"start\"/>\n";
  return text + "      </note>\n";
}

std::string rest(int duration) {
  return "      <note>\n        <rest/>\n        <duration>" + std::to_string(duration) +
         "</duration>\n      </note>\n";
}

std::string attributes(int divisions, int beats = 4, int beat_type = 4) {
  return "      <attributes>\n        <divisions>" + std::to_string(divisions) +
         "</divisions>\n        <time>\n          <beats>" + std::to_string(beats) +
         "</beats>\n          <beat-type>" + std::to_string(beat_type) +
         "</beat-type>\n        </time>\n      </attributes>\n";
}

std::string measure(int number, const std::string& body) {
  return "    <measure number=\"" + std::to_string(number) + "\">\n" + body + "    </measure>\n";
}

std::string part(int number, const std::string& measures) {
  return "  <part id=\"P" + std::to_string(number) + "\">\n" + measures + "  </part>\n";
}

std::string score(const std::string& parts) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"3.1\">\n" + parts +
         "</score-partwise>\n";
}

class MusicXmlReaderTest : public ::testing::Test {
 protected:
  XmlResult read(const std::string& xml, int32_t first = 1, int32_t count = 1) {
    write_file("inmus.xml", xml);
    return read_musicxml(state->engine.music, state->settings.time, first, count, "inmus.xml");
  }
  std::string records() { return show(state->engine.music); }

  WorkFolder folder;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST_F(MusicXmlReaderTest, WorkedExample) {
  const std::string xml = score(part(
      1, measure(1, attributes(1) + note('C', 4, 1) + note('E', 4, 2) + chord_note('G', 4, 2) +
                        rest(1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 1024 60 100 0\n"
            "1 1 1024 2048 64 100 0\n"
            "1 1 1024 2048 67 100 0\n");
}

TEST_F(MusicXmlReaderTest, PositionEndsAtTheBarLength) {
  // A note after the worked example's bar content starts at 4096.
  const std::string xml = score(part(
      1, measure(1, attributes(1, 5, 4) + note('C', 4, 1) + note('E', 4, 2) +
                        chord_note('G', 4, 2) + rest(1) + note('D', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(state->engine.music.notes[3].Ckin, 4096);
}

TEST_F(MusicXmlReaderTest, FileThatCannotBeOpened) {
  state->engine.music.note_count = 5;
  EXPECT_EQ(read_musicxml(state->engine.music, state->settings.time, 1, 1, "missing.xml"),
            XmlResult::kNotOpened);
  EXPECT_EQ(state->engine.music.note_count, 5);
}

TEST_F(MusicXmlReaderTest, AlterationsAndOctaves) {
  const std::string xml = score(part(
      1, measure(1, attributes(1) + note('B', 3, 1, "", -1) + note('F', 5, 1, "", 1) +
                        note('A', 4, 1) + note('X', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(state->engine.music.notes[0].Note, 58);
  EXPECT_EQ(state->engine.music.notes[1].Note, 78);
  EXPECT_EQ(state->engine.music.notes[2].Note, 69);
  EXPECT_EQ(state->engine.music.notes[3].Note, 60);  // an unknown letter counts as C
}

TEST_F(MusicXmlReaderTest, ThreeNoteChordAdvancesOnce) {
  const std::string xml = score(part(
      1, measure(1, attributes(2) + note('C', 4, 4) + chord_note('E', 4, 2) +
                        chord_note('G', 4, 1) + note('D', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 2048 60 100 0\n"
            "1 1 0 1024 64 100 0\n"
            "1 1 0 512 67 100 0\n"
            "1 1 2048 512 62 100 0\n");
}

TEST_F(MusicXmlReaderTest, BackupStartsASecondVoice) {
  const std::string backup = "      <backup>\n        <duration>4</duration>\n      </backup>\n";
  const std::string xml = score(part(
      1, measure(1, attributes(1) + note('C', 5, 2) + note('D', 5, 2) + backup +
                        note('C', 3, 4)) +
             measure(2, note('E', 5, 4))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 2048 72 100 0\n"
            "1 1 2048 2048 74 100 0\n"
            "1 1 0 4096 48 100 0\n"
            "1 2 0 4096 76 100 0\n");
}

TEST_F(MusicXmlReaderTest, ForwardMovesThePositionOnly) {
  const std::string forward = "      <forward>\n        <duration>1</duration>\n      </forward>\n";
  const std::string xml =
      score(part(1, measure(1, attributes(1) + note('C', 4, 1) + forward + note('D', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 1024 60 100 0\n"
            "1 1 2048 1024 62 100 0\n");
}

TEST_F(MusicXmlReaderTest, TieAcrossTheBarlineIsJoined) {
  const std::string xml = score(part(
      1, measure(1, attributes(1) + note('C', 4, 3) + tied('G', 4, 1, "start")) +
             measure(2, tied('G', 4, 2, "stop") + note('A', 4, 2))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 3072 60 100 0\n"
            "1 1 3072 3072 67 100 0\n"
            "1 2 2048 2048 69 100 0\n");
}

TEST_F(MusicXmlReaderTest, TieChainBecomesOneRecord) {
  const std::string xml = score(part(
      1, measure(1, attributes(1) + tied('G', 4, 4, "start")) +
             measure(2, tied('G', 4, 4, "stop start")) + measure(3, tied('G', 4, 2, "stop")) +
             measure(4, tied('G', 4, 2, "start"))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  // The last piece's open tie stays on its own record.
  EXPECT_EQ(records(),
            "1 1 0 10240 67 100 0\n"
            "1 4 0 2048 67 100 1\n");
}

TEST_F(MusicXmlReaderTest, TieStopWithoutStartStaysAlone) {
  const std::string xml = score(part(
      1, measure(1, attributes(1) + note('C', 4, 2) + tied('D', 4, 2, "stop"))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 2048 60 100 0\n"
            "1 1 2048 2048 62 100 2\n");
}

TEST_F(MusicXmlReaderTest, TieJoinsOnlyTheSamePart) {
  const std::string xml =
      score(part(1, measure(1, attributes(1) + tied('C', 4, 4, "start"))) +
            part(2, measure(1, attributes(1) + note('E', 4, 4)) +
                        measure(2, tied('E', 4, 4, "stop"))));
  EXPECT_EQ(read(xml, 1, 2), XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 4096 60 100 1\n"
            "2 1 0 4096 64 100 0\n"
            "2 2 0 4096 64 100 2\n");
}

TEST_F(MusicXmlReaderTest, PartsOutsideTheRangeStillSetTheTime) {
  const std::string xml =
      score(part(1, measure(1, attributes(1) + note('C', 4, 4))) +
            part(2, measure(1, attributes(1, 3, 8) + note('E', 4, 3))) +
            part(3, measure(1, note('G', 4, 4))));
  EXPECT_EQ(read(xml, 1, 1), XmlResult::kRead);
  EXPECT_EQ(records(), "1 1 0 4096 60 100 0\n");
  EXPECT_EQ(state->settings.time.compas_num, 3);
  EXPECT_EQ(state->settings.time.compas_den, 8);
  EXPECT_EQ(state->settings.time.den_exponent, 3);
  EXPECT_EQ(state->settings.time.clicks_parte, 512);
}

TEST_F(MusicXmlReaderTest, PartRangeIsFirstToFirstPlusCount) {
  std::string parts;
  for (int p = 1; p <= 5; ++p) parts += part(p, measure(1, attributes(1) + note('C', p, 4)));
  EXPECT_EQ(read(score(parts), 2, 3), XmlResult::kRead);
  EXPECT_EQ(records(),
            "2 1 0 4096 36 100 0\n"
            "3 1 0 4096 48 100 0\n"
            "4 1 0 4096 60 100 0\n");
}

TEST_F(MusicXmlReaderTest, ClicksFollowClicksSemic) {
  state->settings.time.clicks_semic = 120;
  const std::string xml = score(part(1, measure(1, attributes(3) + note('C', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  EXPECT_EQ(state->engine.music.notes[0].Dur, 160);
  EXPECT_EQ(state->settings.time.clicks_parte, 480);
}

TEST_F(MusicXmlReaderTest, OnlyTheFirstElementOfALineIsSeen) {
  const std::string xml = score(part(
      1, measure(1, attributes(1) + note('C', 4, 1) +
                        "      <note><rest/>\n        <duration>1</duration>\n      </note>\n" +
                        note('D', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kRead);
  // The rest is not recognised, yet its note element has no pitch, so it
  // completes no record; it still takes its time.
  EXPECT_EQ(records(),
            "1 1 0 1024 60 100 0\n"
            "1 1 2048 1024 62 100 0\n");
}

TEST_F(MusicXmlReaderTest, NoteInMeasureZeroIsRefused) {
  const std::string xml = score(part(1, measure(0, attributes(1) + note('C', 4, 1))));
  EXPECT_EQ(read(xml), XmlResult::kPickupMeasure);
  // Measure 0 of a part outside the range does not matter.
  EXPECT_EQ(read(xml, 2, 1), XmlResult::kRead);
}

TEST_F(MusicXmlReaderTest, MalformedInput) {
  EXPECT_EQ(read(score(part(1, measure(1, note('C', 4, 1))))), XmlResult::kNoDivisions);
  EXPECT_EQ(read(score(part(1, measure(1, attributes(0) + note('C', 4, 1))))),
            XmlResult::kNoDivisions);
  EXPECT_EQ(read(score(part(1, measure(1, attributes(1, 4, 0) + note('C', 4, 1))))),
            XmlResult::kZeroBeatType);
  // A tie or a note end before any record is ignored.
  EXPECT_EQ(read(score(part(1, measure(1, attributes(1) +
                                              "      <tie type=\"stop\"/>\n      </note>\n" +
                                              note('C', 4, 1))))),
            XmlResult::kRead);
  EXPECT_EQ(records(), "1 1 0 1024 60 100 0\n");
}

TEST_F(MusicXmlReaderTest, TagNumber) {
  EXPECT_EQ(tag_number("<part id=\"P12\">"), 12);
  EXPECT_EQ(tag_number("<alter>-1</alter>"), 1);
  EXPECT_EQ(tag_number("<measure>"), 0);
  EXPECT_EQ(tag_number((std::string(99, 'x') + "7").c_str()), 7);
  EXPECT_EQ(tag_number((std::string(100, 'x') + "7").c_str()), 0);
  EXPECT_EQ(tag_number("<d>99999999999</d>"), 2147483647);
}

TEST_F(MusicXmlReaderTest, TooManyNotesStopsAtTheTable) {
  std::string body = attributes(1);
  for (int i = 0; i < 4; ++i) body += note('C', 4, 1);
  std::string measures;
  for (int m = 1; m <= engine::kMaxMusicNotes / 4; ++m) measures += measure(m, m == 1 ? body : body.substr(attributes(1).size()));
  EXPECT_EQ(read(score(part(1, measures))), XmlResult::kRead);
  EXPECT_EQ(state->engine.music.note_count, engine::kMaxMusicNotes);
  EXPECT_EQ(read(score(part(1, measures + measure(30001, note('D', 4, 1))))),
            XmlResult::kTooManyNotes);
  EXPECT_EQ(state->engine.music.note_count, engine::kMaxMusicNotes);
}

// MuseScore 3's export: attributes in note start tags, a dotted note, a
// tie across the barline, a second part without a beat type line.
TEST_F(MusicXmlReaderTest, MuseScoreExport) {
  test::copy_test_data("musescore_piece.xml", "inmus.xml");
  EXPECT_EQ(read_musicxml(state->engine.music, state->settings.time, 1, 2, "inmus.xml"),
            XmlResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 1024 60 100 0\n"
            "1 1 1024 2048 64 100 0\n"
            "1 1 1024 2048 67 100 0\n"
            "1 2 0 2048 70 100 0\n"
            "1 2 2048 1024 66 100 0\n"
            "1 2 3072 2048 72 100 0\n"
            "1 3 1024 3072 71 100 0\n"
            "2 1 0 4096 48 100 0\n"
            "2 2 0 4096 43 100 0\n"
            "2 3 0 2048 41 100 0\n"
            "2 3 2048 2048 43 100 0\n");
}

TEST_F(MusicXmlReaderTest, CrlfLinesReadAlike) {
  test::copy_test_data("musescore_piece.xml", "inmus.xml");
  ASSERT_EQ(read_musicxml(state->engine.music, state->settings.time, 1, 2, "inmus.xml"),
            XmlResult::kRead);
  const std::string lf = records();
  std::string crlf;
  for (char c : test::read_file("inmus.xml")) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ASSERT_EQ(read(crlf, 1, 2), XmlResult::kRead);
  EXPECT_EQ(records(), lf);
}

TEST_F(MusicXmlReaderTest, MuseScoreExportWithVoices) {
  test::copy_test_data("musescore_voices.xml", "inmus.xml");
  EXPECT_EQ(read(test::read_file("inmus.xml")), XmlResult::kRead);
  EXPECT_EQ(state->settings.time.compas_num, 6);
  EXPECT_EQ(state->settings.time.compas_den, 8);
  EXPECT_EQ(state->settings.time.clicks_parte, 512);
  EXPECT_EQ(records(),
            "1 1 0 512 72 100 0\n"
            "1 1 512 512 74 100 0\n"
            "1 1 1024 512 76 100 0\n"
            "1 1 1536 1536 77 100 0\n"
            "1 1 0 3072 60 100 0\n"
            "1 2 0 3072 79 100 0\n"
            "1 2 0 3072 55 100 0\n");
}

}  // namespace
}  // namespace zelvo::harmonizer
