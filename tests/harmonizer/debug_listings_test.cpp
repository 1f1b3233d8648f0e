#include "harmonizer/debug_listings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "harmonizer/harmonize_job.h"
#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using engine::Candidate;
using engine::Line;
using engine::LineNote;
using engine::LinkState;
using engine::PathNote;
using test::read_file;
using test::WorkFolder;
using test::write_file;

bool exists(const std::string& name) { return std::filesystem::exists(name); }

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

PathNote path_note(int pitch, int type) {
  return PathNote{static_cast<int8_t>(pitch), static_cast<int8_t>(type)};
}

class DebugListingsTest : public ::testing::Test {
 protected:
  DebugListingsTest() { state->settings.Debug = 1; }

  engine::EngineState& engine() { return state->engine; }
  engine::UnitSlot& slot(int s) { return engine::unit_slot(state->engine, s); }
  void set_chord(int index, int bar, int click) {
    engine().chords.entries[index].bar = bar;
    engine().chords.entries[index].click = click;
  }

  // A line of slot s with the given notes (bar, click, duration, given pitch,
  // velocity, ties).
  Line& make_line(int s, int l, int ins, int tipo, const std::vector<LineNote>& notes) {
    Line& line = slot(s).lines[l];
    line.Ins = ins;
    line.Tipo = tipo;
    line.Tmno = static_cast<int32_t>(notes.size());
    for (size_t k = 0; k < notes.size(); ++k) line.notes[k] = notes[k];
    return line;
  }

  void set_candidate(int s, int l, int k, float cost, const std::vector<PathNote>& notes) {
    Candidate& candidate = slot(s).candidates[l][k];
    candidate.cost = cost;
    for (size_t n = 0; n < notes.size(); ++n) candidate.notes[n] = notes[n];
  }

  void set_pool(int x, double cost, int serial, const std::vector<PathNote>& notes) {
    engine::PoolEntry& entry = engine().pool.entries[x];
    entry.cost = cost;
    entry.serial = serial;
    for (size_t n = 0; n < notes.size(); ++n) entry.notes[n] = notes[n];
  }

  // Some music in the table, and leftovers beyond the note count, that the
  // MIDI-writing listings borrow.
  void fill_music() {
    engine::MusicNoteTable& music = engine().music;
    for (int i = 0; i < 40; ++i) music.notes[i] = test::note(2, 1 + i, i, 100 + i, 40 + i);
    music.note_count = 25;
  }

  WorkFolder folder;
  console::Console console;
  std::unique_ptr<HarmonizerState> state = test::make_state();
  DebugListings listings{*state, console};
};

TEST_F(DebugListingsTest, DebugZeroCreatesNothing) {
  state->settings.Debug = 0;
  EXPECT_FALSE(debug_enabled(state->settings));
  make_line(0, 0, 1, engine::kInnerLine, {{2, 0, 256, 60, 100, 0}});
  set_candidate(0, 0, 0, 0.0f, {path_note(60, engine::kRe)});
  engine().music.note_count = 1;
  list_result(*state);
  listings.list_units(engine());
  listings.list_all_lines(engine());
  listings.list_link(engine(), 0, 0);
  listings.list_paths(engine(), 0, 0, 0);
  listings.list_candidates(engine(), 0, 0);
  EXPECT_FALSE(exists("_brindebug"));
  EXPECT_TRUE(std::filesystem::is_empty("."));
}

TEST_F(DebugListingsTest, FolderIsMadeOnceAndMayExist) {
  EXPECT_TRUE(debug_enabled(state->settings));
  EXPECT_TRUE(std::filesystem::is_directory("_brindebug"));
  EXPECT_TRUE(debug_enabled(state->settings));
}

TEST_F(DebugListingsTest, ResultListingOfThreeNotes) {
  engine::MusicNoteTable& music = engine().music;
  music.notes[0] = test::note(1, 1, 0, 1024, 64, 100, 1);
  music.notes[1] = test::note(2, 1, 1024, 512, 48, 90, 2);
  music.notes[2] = test::note(1, 3, 256, -5, 67, 0, 0);
  music.notes[3] = test::note(9, 9, 9, 9, 9, 9, 0);  // beyond the note count
  music.note_count = 3;
  list_result(*state);
  EXPECT_EQ(read_file("_brindebug/ver_ev_zavir.rur"),
            "ZAVIR Output Data\n\nInst\tCpin\tCkin\tDur\tNote\tVel\tDiv\n\n"
            "1\t1\t0\t1024\t64\t100\t1\t\n"
            "2\t1\t1024\t512\t48\t90\t2\t\n"
            "1\t3\t256\t-5\t67\t0\t0\t\n");
  music.note_count = 0;  // written anew every time
  list_result(*state);
  EXPECT_EQ(read_file("_brindebug/ver_ev_zavir.rur"),
            "ZAVIR Output Data\n\nInst\tCpin\tCkin\tDur\tNote\tVel\tDiv\n\n");
}

// Slot 0 with a chord at bar 3, click 512; line 1 is unused, so the
// all-lines listing stops there while the summary goes on to line 2.
class UnitListingsTest : public DebugListingsTest {
 protected:
  UnitListingsTest() {
    set_chord(0, 3, 512);
    Line& melody = make_line(0, 0, 1, engine::kMelodyLine,
                             {{3, 512, 256, 60, 100, 0}, {3, 768, 256, 62, 100, 1}});
    melody.Lh = 2;
    melody.Yarm = 1;
    melody.Arn = 0;
    melody.nlast = LinkState{3, 512, 256, 62, 1, 64, engine::kRe};
    set_candidate(0, 0, 0, 0.5f, {path_note(60, engine::kRe), path_note(64, engine::kRe)});
    set_candidate(0, 0, 1, 1.25f, {path_note(61, engine::kFa), path_note(59, engine::kEd)});
    make_line(0, 2, 2, engine::kBassLine, {{3, 512, 1024, 48, 100, 0}});
  }
};

const char kSummaryTitle[] = "ZAVIR Output Data\nOds Contens\n\n";
const char kSummaryUnit[] =
    "\nCc:3  kk:512"
    "\n\tln:0 ins:1 arn:0 lh:2 lp:-1 tipo:3 tmno:2 yarm:1\n\t\t60, 62, "
    "\n\tln:2 ins:2 arn:-1 lh:-1 lp:-1 tipo:2 tmno:1 yarm:0\n\t\t48, ";
const char kAllLinesTitle[] = "ZAVIR Output Data\nContenidos de todas las lineas\n\n";
const char kAllLinesUnit[] =
    "\n\n*** Comp\xE1s=3 Semicorchea=2 Linea=0\n\n"
    "\tTipo=3 Ins=1 Arn=0 Tmno=2 Yarm=1 Lp=-1 Lh=2\n"
    "\n\tnpadre= -1 0 0 0 0 0 0 "
    "\n\tnlast= 3 512 256 62 1 64 99 "
    "\n\n\tntorig\t -- c4 d4 "
    "\n\nNArm, Val  --- Alturas y Tipos de notas  \n"
    "\n0, 0.500\t -- c4 e4 -- re re "
    "\n1, 1.250\t -- C4 b3 -- fa ed "
    "\n";

TEST_F(UnitListingsTest, FirstWriteOfARunCreatesThenAppends) {
  listings.list_units(engine());
  listings.list_all_lines(engine());
  EXPECT_EQ(read_file("_brindebug/ver_ods.rur"), std::string(kSummaryTitle) + kSummaryUnit);
  EXPECT_EQ(read_file("_brindebug/ver_todaslineas.rur"),
            std::string(kAllLinesTitle) + kAllLinesUnit);

  listings.list_units(engine());
  listings.list_all_lines(engine());
  EXPECT_EQ(read_file("_brindebug/ver_ods.rur"),
            std::string(kSummaryTitle) + kSummaryUnit + kSummaryUnit);
  EXPECT_EQ(read_file("_brindebug/ver_todaslineas.rur"),
            std::string(kAllLinesTitle) + kAllLinesUnit + kAllLinesUnit);

  // The next run starts both files afresh.
  reset_debug_listings(state->debug);
  listings.list_units(engine());
  listings.list_all_lines(engine());
  EXPECT_EQ(read_file("_brindebug/ver_ods.rur"), std::string(kSummaryTitle) + kSummaryUnit);
  EXPECT_EQ(read_file("_brindebug/ver_todaslineas.rur"),
            std::string(kAllLinesTitle) + kAllLinesUnit);
}

TEST_F(UnitListingsTest, LinkListingIsATreePerChord) {
  set_chord(1, 4, 0);
  slot(1).chord_index = 1;
  slot(0).lines[0].npadre.chosen_pitch = 60;
  slot(0).lines[0].npadre.tone_type = engine::kRe;
  make_line(1, 2, 1, engine::kInnerLine, {{4, 0, 256, 62, 100, 0}});
  slot(1).lines[2].npadre.chosen_pitch = 62;
  slot(1).lines[2].npadre.tone_type = engine::kPa;
  make_line(2, 0, 1, engine::kInnerLine, {{5, 0, 256, 62, 100, 0}});
  slot(2).chord_index = 1;

  listings.list_link(engine(), 0, 0);
  listings.list_link(engine(), 1, 2);
  listings.list_link(engine(), 2, 0);
  listings.list_link(engine(), 0, 2);
  const std::string first =
      "ZAVIR Output Data\nConcatenaciones\n\n"
      "\n\nCC: 3\n\n"
      "\tLin:0 (np:60,99) \n"
      "\t\tLin:2 (np:62,2) (cc:4)\n"
      "\t\t\tLin:0 (np:0,0) (cc:4)\n"
      "\tLin:2 (np:0,0) \n";
  EXPECT_EQ(read_file("_brindebug/ver_concatenacion.rur"), first);

  // The window moved: slot 0 is under the chord of bar 4 now.
  slot(0).chord_index = 1;
  listings.list_link(engine(), 0, 0);
  EXPECT_EQ(read_file("_brindebug/ver_concatenacion.rur"),
            first + "\n\nCC: 4\n\n\tLin:0 (np:60,99) \n");

  reset_debug_listings(state->debug);
  listings.list_link(engine(), 0, 0);
  EXPECT_EQ(read_file("_brindebug/ver_concatenacion.rur"),
            "ZAVIR Output Data\nConcatenaciones\n\n\n\nCC: 4\n\n\tLin:0 (np:60,99) \n");
}

// The pool after a search of line 2 of slot 1 (chord at bar 4): two equal
// costs (the lower index comes first), a path too costly to pick, entries
// in use and free.
TEST_F(DebugListingsTest, PathPoolListingSortsCopiesAndRestores) {
  set_chord(0, 2, 0);
  set_chord(1, 4, 0);
  slot(1).chord_index = 1;
  make_line(1, 2, 3, engine::kInnerLine, {{4, 0, 512, 60, 90, 0}, {5, 256, 256, 62, 80, 1}});
  set_pool(3, 0.25, 7, {path_note(60, engine::kRe), path_note(64, engine::kPa)});
  set_pool(5, 0.25, 2, {path_note(59, engine::kFd), path_note(62, engine::kRe)});
  set_pool(6, 0.0, 11, {path_note(60, engine::kRe), path_note(62, engine::kRe)});
  set_pool(8, 1000000.0, 1, {path_note(70, engine::kRe), path_note(70, engine::kRe)});
  set_pool(9, engine::kEntryInUse, 0, {});
  engine().pool.process_count = 12;
  fill_music();
  const engine::MusicNoteTable before = engine().music;
  double costs[engine::kPoolSize];
  for (int x = 0; x < engine::kPoolSize; ++x) costs[x] = engine().pool.entries[x].cost;

  listings.list_paths(engine(), 1, 0, 2);
  EXPECT_EQ(read_file("_brindebug/Vlt_zavir.rur"),
            "LT Data --  unidad=1 linea=0\n\n"
            "\nProcesos totales: 12\n\n"
            "Comp, iLT, Proc, Val  --- Tipos de notas \n\n"
            "\n1, 6, 11, 0.000\t -- c4 d4  -- re re "
            "\n3, 3, 7, 0.250\t -- c4 e4  -- re pa "
            "\n5, 5, 2, 0.250\t -- b3 d4  -- fd re "
            "\n");
  // Path k starts at bar 2k + 1: the line's bars moved by 2k + 1 - 4.
  EXPECT_EQ(test::midicsv("_brindebug/Vlt_zavir.mid"),
            "0, 0, Header, 0, 1, 1024\n1, 0, Start_track\n1, 0, Time_signature, 4, 2, 24, 8\n"
            "1, 0, Tempo, 500000\n"
            "1, 0, Note_on_c, 0, 60, 90\n1, 512, Note_on_c, 0, 60, 0\n"
            "1, 4352, Note_on_c, 0, 62, 80\n1, 4608, Note_on_c, 0, 62, 0\n"
            "1, 8192, Note_on_c, 0, 60, 90\n1, 8704, Note_on_c, 0, 60, 0\n"
            "1, 12544, Note_on_c, 0, 64, 80\n1, 12800, Note_on_c, 0, 64, 0\n"
            "1, 16384, Note_on_c, 0, 59, 90\n1, 16896, Note_on_c, 0, 59, 0\n"
            "1, 20736, Note_on_c, 0, 62, 80\n1, 20992, Note_on_c, 0, 62, 0\n"
            "1, 20992, End_track\n0, 0, End_of_file\n");

  EXPECT_EQ(std::memcmp(&before, &engine().music, sizeof before), 0);
  for (int x = 0; x < engine::kPoolSize; ++x) EXPECT_EQ(engine().pool.entries[x].cost, costs[x]);
  EXPECT_STREQ(state->output_name, "outar.mid");
}

TEST_F(DebugListingsTest, CandidateListingCopiesAndRestores) {
  set_chord(0, 2, 0);
  Line& line = make_line(0, 0, 3, engine::kInnerLine,
                         {{2, 0, 1024, 62, 100, 0}, {2, 1024, 512, 64, 100, 0}});
  line.Arn = 1;
  line.Yarm = 1;
  line.Lp = 4;
  line.npadre = LinkState{1, 0, 1024, 57, 0, 57, engine::kRe};
  line.nlast = LinkState{2, 1024, 512, 64, 0, 65, engine::kFa};
  set_candidate(0, 0, 0, 0.0f, {path_note(62, engine::kRe), path_note(65, engine::kFa)});
  set_candidate(0, 0, 1, 2.5f, {path_note(63, engine::kPa), path_note(64, engine::kRe)});
  fill_music();
  const engine::MusicNoteTable before = engine().music;
  std::snprintf(state->output_name, kOutputNameSize, "%s", "some.mid");

  listings.list_candidates(engine(), 0, 0);
  EXPECT_EQ(read_file("_brindebug/Vline_zavir.rur"),
            "Line Data -- Unidad=0 Linea=0\n\n"
            "\tTipo=1 Ins=3 Arn=1 Tmno=2 Yarm=1 Lp=4 Lh=-1\n"
            "\n\tnp= 1 0 1024 57 0 57 99 "
            "\n\tnl= 2 1024 512 64 0 65 0 "
            "\n\nComp, Val  --- Tipos de notas \n\n"
            "\n1, 0.000\t -- re fa "
            "\n3, 2.500\t -- pa re "
            "\n");
  EXPECT_EQ(test::midicsv("_brindebug/Vline_zavir.mid"),
            "0, 0, Header, 0, 1, 1024\n1, 0, Start_track\n1, 0, Time_signature, 4, 2, 24, 8\n"
            "1, 0, Tempo, 500000\n"
            "1, 0, Note_on_c, 0, 62, 100\n1, 1024, Note_on_c, 0, 62, 0\n"
            "1, 1024, Note_on_c, 0, 65, 100\n1, 1536, Note_on_c, 0, 65, 0\n"
            "1, 8192, Note_on_c, 0, 63, 100\n1, 9216, Note_on_c, 0, 63, 0\n"
            "1, 9216, Note_on_c, 0, 64, 100\n1, 9728, Note_on_c, 0, 64, 0\n"
            "1, 9728, End_track\n0, 0, End_of_file\n");
  EXPECT_EQ(std::memcmp(&before, &engine().music, sizeof before), 0);
  EXPECT_STREQ(state->output_name, "some.mid");
}

// A file where the folder should be: nothing can be written, and the job
// goes on with its tables untouched.
TEST_F(DebugListingsTest, UnwritableListingsAreSkipped) {
  write_file("_brindebug", "not a folder");
  set_chord(0, 2, 0);
  make_line(0, 0, 1, engine::kInnerLine, {{2, 0, 256, 60, 100, 0}});
  set_candidate(0, 0, 0, 0.0f, {path_note(60, engine::kRe)});
  set_pool(0, 0.0, 0, {path_note(60, engine::kRe)});
  fill_music();
  const engine::MusicNoteTable before = engine().music;
  EXPECT_NO_THROW({
    list_result(*state);
    listings.list_units(engine());
    listings.list_all_lines(engine());
    listings.list_link(engine(), 0, 0);
    listings.list_paths(engine(), 0, 0, 0);
    listings.list_candidates(engine(), 0, 0);
  });
  EXPECT_EQ(read_file("_brindebug"), "not a folder");
  EXPECT_EQ(std::memcmp(&before, &engine().music, sizeof before), 0);
  EXPECT_EQ(engine().pool.entries[0].cost, 0.0);
  EXPECT_STREQ(console.contents().c_str(), "");
  // The append state did not move: a later write that succeeds starts anew.
  EXPECT_EQ(state->debug.summary_writes, 0);
  EXPECT_EQ(state->debug.all_lines_writes, 0);
  EXPECT_EQ(state->debug.last_chord_bar, -1);
}

// ---- Whole runs ----

std::string xml_note(const std::string& step, int octave, int duration, bool chord = false) {
  std::string text = "      <note>\n";
  if (chord) text += "        <chord/>\n";
  return text + "        <pitch>\n          <step>" + step + "</step>\n          <octave>" +
         std::to_string(octave) + "</octave>\n        </pitch>\n        <duration>" +
         std::to_string(duration) + "</duration>\n      </note>\n";
}

std::string xml_measure(int number, const std::string& notes) {
  std::string text = "    <measure number=\"" + std::to_string(number) + "\">\n";
  if (number == 1)
    text += "      <attributes>\n        <divisions>1</divisions>\n      </attributes>\n";
  return text + notes + "    </measure>\n";
}

std::string xml_part(int number, const std::string& measures) {
  return "  <part id=\"P" + std::to_string(number) + "\">\n" + measures + "  </part>\n";
}

std::string triad(const std::string& a, const std::string& b, const std::string& c) {
  return xml_note(a, 4, 4) + xml_note(b, 4, 4, true) + xml_note(c, 4, 4, true);
}

// inarm.xml holding the music too: part 1 the music, part 2 the C major
// scale, part 3 a chord per bar (C, F, G, C).
std::string piece(const std::string& music_measures) {
  const std::string scale = xml_part(
      2, xml_measure(1, xml_note("C", 4, 1) + xml_note("D", 4, 1) + xml_note("E", 4, 1) +
                            xml_note("F", 4, 1)) +
             xml_measure(2, xml_note("G", 4, 1) + xml_note("A", 4, 1) + xml_note("B", 4, 1)));
  const std::string chords =
      xml_part(3, xml_measure(1, triad("C", "E", "G")) + xml_measure(2, triad("F", "A", "C")) +
                      xml_measure(3, triad("G", "B", "D")) + xml_measure(4, triad("C", "E", "G")));
  return "<score-partwise version=\"3.1\">\n" + xml_part(1, music_measures) + scale + chords +
         "</score-partwise>\n";
}

const char kPieceConfiguration[] =
    "MusicSource=2\nFirstMusicIns=1\nLastMusicIns=1\nHarmInsNum=2\nDebug=1\n";

// Three notes in bar 1, under one chord: one unit, whose line 0 begins in
// bar 1.
std::string three_notes() {
  return piece(xml_measure(1, xml_note("C", 4, 1) + xml_note("E", 4, 1) + xml_note("G", 4, 2)));
}

// A melody over bars 1 to 3, one unit per bar.
std::string three_bars() {
  return piece(xml_measure(1, xml_note("C", 4, 1) + xml_note("E", 4, 1) + xml_note("G", 4, 2)) +
               xml_measure(2, xml_note("F", 4, 1) + xml_note("A", 4, 1) + xml_note("C", 5, 2)) +
               xml_measure(3, xml_note("B", 4, 2) + xml_note("D", 5, 2)));
}

class DebugRunTest : public ::testing::Test {
 protected:
  void run() { harmonize(*state, console); }

  WorkFolder folder;
  console::Console console;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST_F(DebugRunTest, ResultListingOfAThreeNotePiece) {
  write_file("inarm.xml", three_notes());
  write_file("conar.txt", kPieceConfiguration);
  run();
  const std::string listing = read_file("_brindebug/ver_ev_zavir.rur");
  const std::string head = "ZAVIR Output Data\n\nInst\tCpin\tCkin\tDur\tNote\tVel\tDiv\n\n";
  ASSERT_EQ(listing.rfind(head, 0), 0u) << listing;
  // The chosen pitches are the engine's; the rest is the music's.
  const std::string csv = test::midicsv("outar.mid");
  std::string expected = head;
  const int clicks[] = {0, 1024, 2048};
  const int durations[] = {1024, 1024, 2048};
  for (int k = 0; k < 3; ++k) {
    // The note-on of note k: "1, <click>, Note_on_c, 0, <pitch>, 100".
    const std::string on = "1, " + std::to_string(clicks[k]) + ", Note_on_c, 0, ";
    std::string pitch;
    for (size_t at = csv.find(on); at != std::string::npos && pitch.empty();
         at = csv.find(on, at + 1)) {
      const size_t from = at + on.size();
      const size_t comma = csv.find(',', from);
      if (csv.compare(comma, 6, ", 100\n") == 0) pitch = csv.substr(from, comma - from);
    }
    ASSERT_FALSE(pitch.empty()) << csv;
    expected += "1\t1\t" + std::to_string(clicks[k]) + "\t" + std::to_string(durations[k]) + "\t" +
                pitch + "\t100\t0\t\n";
  }
  EXPECT_EQ(listing, expected);
  // No unit's line 0 begins in bar 2: nothing is traced.
  for (const char* name :
       {"Vlt_zavir.rur", "Vlt_zavir.mid", "Vline_zavir.rur", "Vline_zavir.mid"}) {
    EXPECT_FALSE(exists(std::string("_brindebug/") + name)) << name;
  }
}

TEST_F(DebugRunTest, TracedLineWritesPathsAndCandidates) {
  write_file("inarm.xml", three_bars());
  write_file("conar.txt", kPieceConfiguration);
  run();
  // The unit of bar 2 looks ahead into bar 3, whose candidates are built then.
  const std::string paths = read_file("_brindebug/Vlt_zavir.rur");
  EXPECT_EQ(paths.rfind("LT Data --  unidad=1 linea=0\n\n\nProcesos totales: ", 0), 0u) << paths;
  const std::string path_csv = test::midicsv("_brindebug/Vlt_zavir.mid");
  EXPECT_EQ(path_csv.rfind("0, 0, Header, 0, 1, 1024\n", 0), 0u) << path_csv;
  // Two notes per path, each with its note-off.
  EXPECT_EQ(count(path_csv, "Note_on_c, 0, "), 4 * count(paths, "\t -- "));

  const std::string line = read_file("_brindebug/Vline_zavir.rur");
  EXPECT_EQ(line.rfind("Line Data -- Unidad=0 Linea=0\n\n\tTipo=", 0), 0u) << line;
  const std::string line_csv = test::midicsv("_brindebug/Vline_zavir.mid");
  EXPECT_EQ(line_csv.rfind("0, 0, Header, 0, 1, 1024\n", 0), 0u) << line_csv;
  EXPECT_EQ(count(line_csv, "Note_on_c, 0, "), 6 * count(line, "\t -- "));
  EXPECT_EQ(count(read_file("_brindebug/ver_ods.rur"), "\nCc:"), 3);
}

// A second run in the same program replaces the growing listings instead of
// appending to the first run's.
TEST_F(DebugRunTest, SecondRunStartsTheListingsAfresh) {
  write_file("inarm.xml", three_bars());
  write_file("conar.txt", kPieceConfiguration);
  run();
  const char* names[] = {"ver_ods.rur", "ver_todaslineas.rur", "ver_concatenacion.rur",
                         "ver_ev_zavir.rur"};
  std::string first[4];
  for (int k = 0; k < 4; ++k) first[k] = read_file(std::string("_brindebug/") + names[k]);
  EXPECT_EQ(count(first[1], "ZAVIR Output Data"), 1);
  EXPECT_EQ(count(first[1], "Linea=0\n"), 3);
  run();
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(read_file(std::string("_brindebug/") + names[k]), first[k]) << names[k];
  }
}

std::string demo_file(const std::string& name) {
  return std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name;
}

// The example work folder as it comes (the composer writes the music the
// harmonizer reads), in two copies, Debug off and on: the same outar.mid.
TEST(DebugDemoTest, SameResultWithDebugOnAndOff) {
  app::TempFolder off;
  app::TempFolder on;
  for (const app::TempFolder* work : {&off, &on}) {
    for (const char* name : {"incom.htm", "insec.xml", "inmus.xml", "inarm.xml"}) {
      write_file(work->file(name), read_file(demo_file(name)));
    }
    std::string configuration = read_file(demo_file("conar.txt"));
    const size_t at = configuration.find("\nDebug = 0");
    ASSERT_NE(at, std::string::npos);
    if (work == &on) configuration.replace(at, 10, "\nDebug = 1");
    write_file(work->file("conar.txt"), configuration);
    const app::CliResult result = app::run_zelvo({"all"}, work->path());
    ASSERT_EQ(result.status, 0) << result.output;
  }
  EXPECT_FALSE(exists(off.file("_brindebug")));
  const std::string result = read_file(off.file("outar.mid"));
  ASSERT_FALSE(result.empty());
  EXPECT_EQ(read_file(on.file("outar.mid")), result);
  for (const char* name : {"ver_ev_zavir.rur", "ver_ods.rur", "ver_todaslineas.rur",
                           "ver_concatenacion.rur", "Vlt_zavir.rur", "Vline_zavir.rur"}) {
    EXPECT_TRUE(exists(on.file(std::string("_brindebug/") + name))) << name;
  }
  for (const char* name : {"Vlt_zavir.mid", "Vline_zavir.mid"}) {
    EXPECT_EQ(test::midicsv(on.file(std::string("_brindebug/") + name)).rfind("0, 0, Header", 0),
              0u)
        << name;
  }
}

}  // namespace
}  // namespace zelvo::harmonizer
