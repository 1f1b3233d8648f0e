#include "harmonizer/harmony_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::note;
using test::WorkFolder;
using test::write_file;

std::string xml_note(const std::string& step, int octave, int duration, bool chord = false,
                     int alter = 0) {
  std::string text = "      <note>\n";
  if (chord) text += "        <chord/>\n";
  text += "        <pitch>\n          <step>" + step + "</step>\n";
  if (alter != 0) text += "          <alter>" + std::to_string(alter) + "</alter>\n";
  return text + "          <octave>" + std::to_string(octave) +
         "</octave>\n        </pitch>\n        <duration>" + std::to_string(duration) +
         "</duration>\n      </note>\n";
}

std::string xml_part(int number, const std::string& measures) {
  return "  <part id=\"P" + std::to_string(number) + "\">\n" + measures + "  </part>\n";
}

std::string xml_measure(int number, const std::string& notes) {
  std::string text = "    <measure number=\"" + std::to_string(number) + "\">\n";
  if (number == 1) text += "      <attributes>\n        <divisions>1</divisions>\n      </attributes>\n";
  return text + notes + "    </measure>\n";
}

std::string xml_score(const std::string& parts) {
  return "<score-partwise version=\"3.1\">\n" + parts + "</score-partwise>\n";
}

// Two scales (C major from bar 1, D major from bar 5) in part 3.
std::string scale_part() {
  return xml_part(
      3, xml_measure(1, xml_note("C", 4, 1) + xml_note("D", 4, 1) + xml_note("E", 4, 1) +
                            xml_note("F", 4, 1)) +
             xml_measure(2, xml_note("G", 4, 1) + xml_note("A", 4, 1) + xml_note("B", 4, 1)) +
             xml_measure(5, xml_note("D", 4, 1) + xml_note("E", 4, 1) +
                                xml_note("F", 4, 1, false, 1) + xml_note("G", 4, 1)) +
             xml_measure(6, xml_note("A", 4, 1) + xml_note("B", 4, 1) +
                                xml_note("C", 5, 1, false, 1)));
}

// C4 E4 G4 in bar 1 and F3 A3 C4 in bar 2, as MusicXML chords.
std::string chord_part() {
  return xml_part(4, xml_measure(1, xml_note("C", 4, 4) + xml_note("E", 4, 4, true) +
                                        xml_note("G", 4, 4, true)) +
                         xml_measure(2, xml_note("F", 3, 4) + xml_note("A", 3, 4, true) +
                                            xml_note("C", 4, 4, true)));
}

std::string marks(const engine::HarmonyEntry& entry) { return entry.marks; }

class HarmonyTest : public ::testing::Test {
 protected:
  bool run() {
    try {
      read_harmony(*state, console);
      return true;
    } catch (const console::JobEnded&) {
      return false;
    }
  }

  WorkFolder folder;
  console::Console console;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST(PitchClassMarksTest, TriadGivesBassAndTop) {
  char m[engine::kMarksSize] = "c_d_ef_g_a_b";
  mark_pitch_class(m, 60);
  mark_pitch_class(m, 64);
  mark_pitch_class(m, 67);
  mark_bass(m, 60);
  mark_top(m, 67);
  EXPECT_STREQ(m, "2_d_Ef_4_a_b");
}

TEST(PitchClassMarksTest, DoubledBassAndTop) {
  // C3, C4 and G3: C4 is the highest note.
  char m[engine::kMarksSize] = "c_d_ef_g_a_b";
  mark_pitch_class(m, 48);
  mark_pitch_class(m, 60);
  mark_pitch_class(m, 55);
  EXPECT_STREQ(m, "1_d_ef_G_a_b");
  mark_bass(m, 48);
  mark_top(m, 60);
  EXPECT_STREQ(m, "7_d_ef_G_a_b");
}

TEST(PitchClassMarksTest, ChromaticAndThirdOccurrence) {
  char m[engine::kMarksSize] = "c_d_ef_g_a_b";
  mark_pitch_class(m, 61);
  mark_pitch_class(m, 66);
  mark_pitch_class(m, 78);
  mark_pitch_class(m, 90);
  EXPECT_STREQ(m, "c#d_ef1g_a_b");
  mark_pitch_class(m, -1);  // a negative pitch still names a class
  EXPECT_EQ(m[11], 'B');
}

TEST(EndsGroupTest, GroupingRule) {
  auto state = test::make_state();
  engine::MusicNoteTable& t = state->engine.music;
  // Rising run, a fall, then a chord of two, then single notes.
  const engine::MusicNote notes[] = {note(1, 1, 0, 1, 60),   note(1, 1, 10, 1, 62),
                                     note(1, 1, 20, 1, 57),  note(1, 1, 30, 1, 59),
                                     note(1, 1, 40, 1, 50),  note(1, 1, 40, 1, 55),
                                     note(1, 1, 50, 1, 70),  note(1, 1, 60, 1, 40),
                                     note(1, 1, 70, 1, 41)};
  t.note_count = 9;
  for (int i = 0; i < 9; ++i) t.notes[i] = notes[i];
  EXPECT_FALSE(ends_group(t, 0));  // always no
  EXPECT_TRUE(ends_group(t, 1));   // 62 then 57: the run turns down
  EXPECT_FALSE(ends_group(t, 2));
  EXPECT_TRUE(ends_group(t, 3));   // a chord begins after it
  EXPECT_FALSE(ends_group(t, 4));  // inside the chord
  EXPECT_TRUE(ends_group(t, 5));   // ends the chord
  EXPECT_TRUE(ends_group(t, 6));   // 70 then 40 (i = n - 3)
  EXPECT_FALSE(ends_group(t, 7));  // n - 2 and later: no
  EXPECT_FALSE(ends_group(t, 8));
}

TEST_F(HarmonyTest, ScaleAndChordTablesOfTheExamples) {
  write_file("inarm.xml", xml_score(scale_part() + chord_part()));
  ASSERT_TRUE(run()) << console.contents();
  EXPECT_EQ(state->settings.FirstHarmIns, 3);  // LastMusicIns + 1, kept
  const engine::HarmonyTable& scales = state->engine.scales;
  EXPECT_EQ(scales.entries[0].bar, 1);
  EXPECT_EQ(scales.entries[0].click, 0);
  EXPECT_EQ(marks(scales.entries[0]), "C_D_EF_G_A_B");
  EXPECT_EQ(scales.entries[1].bar, 5);
  EXPECT_EQ(scales.entries[1].click, 0);
  EXPECT_EQ(marks(scales.entries[1]), "c#D_Ef#G_A_B");
  EXPECT_EQ(scales.entries[2].bar, 0);
  const engine::HarmonyTable& chords = state->engine.chords;
  EXPECT_EQ(chords.entries[0].bar, 1);
  EXPECT_EQ(marks(chords.entries[0]), "2_d_Ef_4_a_b");
  EXPECT_EQ(chords.entries[1].bar, 2);
  EXPECT_EQ(marks(chords.entries[1]), "4_d_e2_g_A_b");
  EXPECT_EQ(chords.entries[2].bar, 0);
  EXPECT_EQ(chords.entries[2].marks[0], '\0');
  // The table is left holding the chord notes, sorted.
  EXPECT_EQ(state->engine.music.note_count, 6);
  EXPECT_EQ(state->engine.music.notes[3].Note, 53);
}

TEST_F(HarmonyTest, ChordSpreadOverSeveralParts) {
  const std::string upper =
      xml_part(5, xml_measure(1, xml_note("G", 4, 2) + xml_note("A", 4, 2)));
  const std::string lower =
      xml_part(4, xml_measure(1, xml_note("C", 3, 2) + xml_note("F", 3, 2)));
  write_file("inarm.xml", xml_score(scale_part() + lower + upper));
  ASSERT_TRUE(run()) << console.contents();
  EXPECT_EQ(marks(state->engine.chords.entries[0]), "2_d_ef_4_a_b");
  EXPECT_EQ(state->engine.chords.entries[1].click, 2048);
  EXPECT_EQ(marks(state->engine.chords.entries[1]), "c_d_e2_g_4_b");
}

TEST_F(HarmonyTest, OnlyTheScalePartGivesNoHarmony) {
  write_file("inarm.xml", xml_score(scale_part()));
  EXPECT_FALSE(run());
  EXPECT_EQ(console.contents().rfind(
                "\nThere is not Scale or Harmony information.\nPossible configuration error\n", 0),
            0u);
}

TEST_F(HarmonyTest, NoScaleNotesGivesNoHarmony) {
  write_file("inarm.xml", xml_score(chord_part()));
  EXPECT_FALSE(run());
  EXPECT_EQ(console.contents().rfind("\nThere is not Scale", 0), 0u);
}

TEST_F(HarmonyTest, MissingFile) {
  EXPECT_FALSE(run());
  EXPECT_EQ(console.contents().rfind("\nError opening file inarm.xml\n", 0), 0u);
}

TEST_F(HarmonyTest, MoreThan500ChordsIsRefused) {
  std::string measures;
  for (int m = 1; m <= 501; ++m) {
    measures += xml_measure(m, xml_note("C", 4, 4) + xml_note("E", 4, 4, true));
  }
  write_file("inarm.xml", xml_score(scale_part() + xml_part(4, measures)));
  EXPECT_FALSE(run());
  EXPECT_EQ(console.contents().rfind("\nError in file inarm.xml: more than 500 chords\n", 0), 0u);
}

TEST_F(HarmonyTest, Exactly500ChordsFillTheTable) {
  std::string measures;
  for (int m = 1; m <= 500; ++m) {
    measures += xml_measure(m, xml_note("C", 4, 4) + xml_note("E", 4, 4, true));
  }
  write_file("inarm.xml", xml_score(scale_part() + xml_part(4, measures)));
  ASSERT_TRUE(run()) << console.contents();
  EXPECT_EQ(state->engine.chords.entries[499].bar, 500);
}

TEST_F(HarmonyTest, PartNumbersComeFromTheSettings) {
  state->settings.FirstHarmIns = 4;
  state->settings.HarmInsNum = 2;
  write_file("inarm.xml",
             xml_score(xml_part(3, xml_measure(1, xml_note("B", 4, 4))) +
                       xml_part(4, xml_measure(1, xml_note("C", 4, 2) + xml_note("D", 4, 2))) +
                       xml_part(5, xml_measure(1, xml_note("E", 4, 4) + xml_note("G", 4, 4, true))) +
                       xml_part(6, xml_measure(1, xml_note("F", 4, 4)))));
  ASSERT_TRUE(run()) << console.contents();
  EXPECT_EQ(state->settings.FirstHarmIns, 4);
  EXPECT_EQ(marks(state->engine.scales.entries[0]), "C_D_ef_g_a_b");
  EXPECT_EQ(marks(state->engine.chords.entries[0]), "c_d_2f_4_a_b");  // parts 3 and 6 left out
  EXPECT_EQ(state->engine.chords.entries[1].bar, 0);
}

}  // namespace
}  // namespace zelvo::harmonizer
