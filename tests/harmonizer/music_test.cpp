#include "harmonizer/music.h"

#include <gtest/gtest.h>

#include <string>

#include "harmonizer/note_sort.h"
#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::note;
using test::show;
using test::WorkFolder;
using test::write_file;

void set_entries(engine::HarmonyTable& table,
                 std::initializer_list<std::pair<int32_t, int32_t>> starts) {
  table = engine::HarmonyTable{};
  int32_t k = 0;
  for (const auto& [bar, click] : starts) {
    table.entries[k].bar = bar;
    table.entries[k].click = click;
    ++k;
  }
}

class MusicTest : public ::testing::Test {
 protected:
  // Runs read_music; the console text when the job ended, "" otherwise.
  std::string run() {
    const size_t before = console.contents().size();
    try {
      read_music(*state, console);
      return "";
    } catch (const console::JobEnded&) {
      return console.contents().substr(before);
    }
  }
  bool starts(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
  }

  WorkFolder folder;
  console::Console console;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST_F(MusicTest, ThreePieceCut) {
  engine::MusicNoteTable& music = state->engine.music;
  music.notes[0] = note(1, 1, 0, 4096, 60);
  music.note_count = 1;
  set_entries(state->engine.chords, {{1, 0}, {1, 2048}});
  set_entries(state->engine.scales, {{1, 0}, {1, 3072}});
  ASSERT_TRUE(cut_notes(music, state->engine.chords, state->settings.time));
  ASSERT_TRUE(cut_notes(music, state->engine.scales, state->settings.time));
  sort_notes(*state);
  EXPECT_EQ(show(music),
            "1 1 0 2048 60 100 1\n"
            "1 1 2048 1024 60 100 3\n"
            "1 1 3072 1024 60 100 2\n");
  EXPECT_EQ(state->note_times[1], 2048);
}

TEST_F(MusicTest, NotesThatStartOrEndAtABoundaryAreNotCut) {
  engine::MusicNoteTable& music = state->engine.music;
  music.notes[0] = note(1, 1, 0, 2048, 60);
  music.notes[1] = note(1, 1, 2048, 2048, 62, 90, 2);
  music.note_count = 2;
  set_entries(state->engine.chords, {{1, 0}, {1, 2048}, {2, 0}});
  ASSERT_TRUE(cut_notes(music, state->engine.chords, state->settings.time));
  EXPECT_EQ(show(music),
            "1 1 0 2048 60 100 0\n"
            "1 1 2048 2048 62 90 2\n");
}

TEST_F(MusicTest, PieceIsCutAgainInItsTurnAcrossBars) {
  engine::MusicNoteTable& music = state->engine.music;
  music.notes[0] = note(2, 1, 1024, 8192, 55, 70, 2);
  music.note_count = 1;
  set_entries(state->engine.chords, {{1, 0}, {2, 0}, {2, 2048}, {4, 0}});
  ASSERT_TRUE(cut_notes(music, state->engine.chords, state->settings.time));
  EXPECT_EQ(show(music),
            "2 1 1024 3072 55 70 3\n"
            "2 2 0 2048 55 70 3\n"
            "2 2 2048 3072 55 70 2\n");
}

TEST_F(MusicTest, CuttingStopsAtAFullTable) {
  engine::MusicNoteTable& music = state->engine.music;
  for (int32_t i = 0; i < engine::kMaxMusicNotes; ++i) music.notes[i] = note(1, 1, 0, 4096, 60);
  music.note_count = engine::kMaxMusicNotes - 1;
  set_entries(state->engine.chords, {{1, 2048}});
  EXPECT_FALSE(cut_notes(music, state->engine.chords, state->settings.time));
  EXPECT_EQ(music.note_count, engine::kMaxMusicNotes);
}

TEST_F(MusicTest, SortPutsVelocityZeroFirstAtEqualTimes) {
  engine::MusicNoteTable& music = state->engine.music;
  music.notes[0] = note(1, 2, 0, 10, 60);
  music.notes[1] = note(1, 1, 100, 10, 61);
  music.notes[2] = note(1, 2, 0, 10, 62, 0);
  music.notes[3] = note(1, 1, 0, 10, 63);
  music.note_count = 4;
  sort_notes(*state);
  EXPECT_EQ(show(music),
            "1 1 0 10 63 100 0\n"
            "1 1 100 10 61 100 0\n"
            "1 2 0 10 62 0 0\n"
            "1 2 0 10 60 100 0\n");
  EXPECT_EQ(state->note_times[2], 4096);
}

TEST_F(MusicTest, SortIsTheExchangeProcedure) {
  // Equal times and velocities: the procedure's own order, not a stable one.
  engine::MusicNoteTable& music = state->engine.music;
  music.notes[0] = note(1, 1, 5, 1, 1);
  music.notes[1] = note(1, 1, 5, 1, 2);
  music.notes[2] = note(1, 1, 0, 1, 3);
  music.notes[3] = note(1, 1, 5, 1, 4);
  music.note_count = 4;
  sort_notes(*state);
  // i=0 takes 3; then 1 and 2 as they stand (j<i never swaps equal times).
  EXPECT_EQ(music.notes[0].Note, 3);
  EXPECT_EQ(music.notes[1].Note, 2);
  EXPECT_EQ(music.notes[2].Note, 1);
  EXPECT_EQ(music.notes[3].Note, 4);
}

TEST_F(MusicTest, BadMusicSource) {
  for (int32_t source : {4, -1}) {
    state->settings.MusicSource = source;
    const std::string text = run();
    EXPECT_NE(text.find("\nError opening Music file\n"), std::string::npos) << source;
  }
}

TEST_F(MusicTest, MissingFilesAreNamed) {
  const char* names[] = {"inmus.xml", "outco.rur", "inarm.xml"};
  for (int32_t source = 0; source < 3; ++source) {
    state->settings.MusicSource = source;
    EXPECT_TRUE(starts(run(), std::string("\nError opening file ") + names[source] + "\n"));
  }
  state->settings.MusicSource = 3;
  EXPECT_TRUE(starts(run(), "\nError opening outco.mid. Impossible to read entry MidiFile\n"));
}

TEST_F(MusicTest, MidiCodesAreReportedWithTheirMessages) {
  state->settings.MusicSource = 3;
  write_file("outco.mid", std::string("RIFF\0\0\0\0", 8));
  EXPECT_TRUE(starts(run(), "\nError in entry file outco.mid. It is not a MidiFile\n"));
  console.set_language(console::kSpanish);
  write_file("outco.mid", std::string("MThd\0\0\0\6\0\1\0\1\0\x30", 14));
  EXPECT_TRUE(starts(run(), "\nError en el archivo de entrada outco.mid. No es MidiFile de Formato 0\n"));
}

TEST_F(MusicTest, EmptyMusicIsRefused) {
  write_file("inmus.xml", "<score-partwise>\n</score-partwise>\n");
  EXPECT_TRUE(starts(run(),
                     "\nThere is no Music Information to be Harmonized.\nCheck Instrument "
                     "numbers in Harmonizing Options\n"));
  console.set_language(console::kSpanish);
  EXPECT_TRUE(starts(run(),
                     "\nNo existe Informaci\xF3n de M\xFAsica para Armonizar.\nRevisar los Nos. de "
                     "Instrumento en Opciones de Armonizaci\xF3n\n"));
}

TEST_F(MusicTest, PickupMeasureIsRefused) {
  write_file("inmus.xml",
             "<part id=\"P1\">\n<measure number=\"0\">\n<divisions>1</divisions>\n<note>\n"
             "<pitch>\n<step>C</step>\n<octave>4</octave>\n</pitch>\n<duration>1</duration>\n"
             "</note>\n</measure>\n</part>\n");
  EXPECT_TRUE(starts(run(),
                     "\nError in file inmus.xml: a note in measure 0 (a pickup measure). Number "
                     "the measures from 1\n"));
}

TEST_F(MusicTest, ListingSourceIsCutAndSorted) {
  state->settings.MusicSource = 1;
  write_file("outco.rur",
             "ZAZAD Output Data\n\n120,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, "
             "clicks-semic)\n\nInst\tCpin\tCkin\tDur\tNote\tVel\n\n"
             "2\t1\t96\t96\t64\t90\t\n1\t1\t0\t192\t60\t100\t\n");
  set_entries(state->engine.chords, {{1, 0}, {1, 96}});
  set_entries(state->engine.scales, {{1, 0}});
  EXPECT_EQ(run(), "");
  EXPECT_EQ(show(state->engine.music),
            "1 1 0 96 60 100 1\n"
            "2 1 96 96 64 90 0\n"
            "1 1 96 96 60 100 2\n");
}

TEST_F(MusicTest, DivideNotesZeroCutsNothing) {
  state->settings.MusicSource = 1;
  state->settings.DivideNotes = 0;
  write_file("outco.rur",
             "ZAZAD Output Data\n\n120,4,4,48,12\t(x)\n\nInst\n\n1\t1\t0\t192\t60\t100\t\n");
  set_entries(state->engine.chords, {{1, 96}});
  EXPECT_EQ(run(), "");
  EXPECT_EQ(show(state->engine.music), "1 1 0 192 60 100 0\n");
}

}  // namespace
}  // namespace zelvo::harmonizer

namespace zelvo::harmonizer {
namespace {

// The plain exchange procedure on whole records, as the reference.
void reference_sort(engine::MusicNoteTable& music, const engine::TimeSettings& time) {
  int32_t times[2000];
  const int32_t n = music.note_count;
  for (int32_t i = 0; i < n; ++i) {
    times[i] = (music.notes[i].Cpin - 1) * time.compas_num * time.clicks_parte + music.notes[i].Ckin;
  }
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      if (times[j] < times[i] || (times[j] == times[i] && music.notes[j].Vel == 0)) {
        std::swap(music.notes[i], music.notes[j]);
        std::swap(times[i], times[j]);
      }
    }
  }
}

TEST(SortNotesTest, SameOrderAsThePlainProcedure) {
  auto state = test::make_state();
  auto reference = test::make_state();
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 16) % range);
  };
  for (int32_t round = 0; round < 20; ++round) {
    const int32_t n = 1 + next(2000);
    for (int32_t i = 0; i < n; ++i) {
      // Few distinct times and many note-offs, so ties decide the order.
      state->engine.music.notes[i] =
          test::note(1 + next(3), 1 + next(3), next(4) * 512, i, 40 + next(40), next(3) == 0 ? 0 : 90);
    }
    state->engine.music.note_count = n;
    reference->engine.music = state->engine.music;
    sort_notes(*state);
    reference_sort(reference->engine.music, reference->settings.time);
    ASSERT_EQ(test::show(state->engine.music), test::show(reference->engine.music)) << round;
  }
}

}  // namespace
}  // namespace zelvo::harmonizer
