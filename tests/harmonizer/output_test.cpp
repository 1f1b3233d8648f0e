#include "harmonizer/output.h"

#include <gtest/gtest.h>

#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::note;
using test::show;
using test::WorkFolder;

std::string hex(const std::string& bytes) {
  std::string text;
  char two[4];
  for (unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02X ", c);
    text += two;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

class OutputTest : public ::testing::Test {
 protected:
  void set(std::initializer_list<engine::MusicNote> notes) {
    int32_t k = 0;
    for (const engine::MusicNote& n : notes) state->engine.music.notes[k++] = n;
    state->engine.music.note_count = k;
  }
  std::string write() {
    const size_t before = console.contents().size();
    try {
      write_harmony_midi(*state, console);
      return "";
    } catch (const console::JobEnded&) {
      return console.contents().substr(before);
    }
  }
  std::string records() { return show(state->engine.music); }

  WorkFolder folder;
  console::Console console;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST_F(OutputTest, TwoPiecesWithTheSamePitchBecomeOneNote) {
  set({note(1, 1, 0, 2048, 62, 100, 1), note(2, 1, 0, 4096, 50),
       note(1, 1, 2048, 2048, 62, 100, 2)});
  rejoin_notes(*state);
  EXPECT_EQ(records(),
            "1 1 0 4096 62 100 0\n"
            "2 1 0 4096 50 100 0\n");
}

TEST_F(OutputTest, ThreePiecesWithTheSamePitchBecomeOneNote) {
  set({note(1, 1, 0, 2048, 60, 100, 1), note(1, 1, 2048, 1024, 60, 100, 3),
       note(1, 1, 3072, 1024, 60, 100, 2)});
  rejoin_notes(*state);
  EXPECT_EQ(records(), "1 1 0 4096 60 100 0\n");
}

TEST_F(OutputTest, ThreePiecesFoundInReverseOrder) {
  // The head meets the last piece first in the table: it is not at its end
  // yet, so the middle piece is joined, then the head is visited again.
  set({note(1, 1, 0, 1024, 60, 100, 1), note(1, 1, 3072, 1024, 60, 100, 2),
       note(1, 1, 1024, 2048, 60, 100, 3)});
  rejoin_notes(*state);
  EXPECT_EQ(records(), "1 1 0 4096 60 100 0\n");
}

TEST_F(OutputTest, APieceBeforeItsHeadIsNotJoined) {
  set({note(1, 1, 2048, 2048, 62, 100, 2), note(1, 1, 0, 2048, 62, 100, 1)});
  rejoin_notes(*state);
  EXPECT_EQ(records(),
            "1 1 0 2048 62 100 1\n"
            "1 1 2048 2048 62 100 2\n");
}

TEST_F(OutputTest, PiecesWithDifferentPitchesStaySeparate) {
  set({note(1, 1, 0, 2048, 60, 100, 1), note(1, 1, 2048, 2048, 62, 100, 2)});
  rejoin_notes(*state);
  EXPECT_EQ(records(),
            "1 1 0 2048 60 100 1\n"
            "1 1 2048 2048 62 100 2\n");
  write();
  // The first note is released where the second starts, note-off first.
  EXPECT_EQ(test::midicsv("outar.mid"),
            "0, 0, Header, 0, 1, 1024\n"
            "1, 0, Start_track\n"
            "1, 0, Time_signature, 4, 2, 24, 8\n"
            "1, 0, Tempo, 500000\n"
            "1, 0, Note_on_c, 0, 60, 100\n"
            "1, 2048, Note_on_c, 0, 60, 0\n"
            "1, 2048, Note_on_c, 0, 62, 100\n"
            "1, 4096, Note_on_c, 0, 62, 0\n"
            "1, 4096, End_track\n"
            "0, 0, End_of_file\n");
}

TEST_F(OutputTest, OnlyTheFirstMatchingPieceIsJoined) {
  // Two lines of one instrument cut at the same moment, same pitch: each
  // head keeps one continuation.
  set({note(1, 1, 0, 2048, 60, 100, 1), note(1, 1, 0, 2048, 60, 90, 1),
       note(1, 1, 2048, 2048, 60, 100, 2), note(1, 1, 2048, 1024, 60, 90, 2)});
  rejoin_notes(*state);
  EXPECT_EQ(records(),
            "1 1 0 4096 60 100 0\n"
            "1 1 0 3072 60 90 0\n");
}

TEST_F(OutputTest, RecordsInBarZeroCountAsRemoved) {
  set({note(1, 0, 0, 100, 60), note(1, 1, 0, 100, 61), note(1, 0, 0, 100, 62),
       note(1, 1, 10, 100, 63), note(1, 0, 0, 100, 64)});
  rejoin_notes(*state);
  EXPECT_EQ(records(),
            "1 1 0 100 61 100 0\n"
            "1 1 10 100 63 100 0\n");
}

TEST_F(OutputTest, EmptyResultWithTheDefaults) {
  EXPECT_EQ(write(), "");
  EXPECT_EQ(hex(test::read_file("outar.mid")),
            "4D 54 68 64 00 00 00 06 00 00 00 01 04 00 4D 54 72 6B 00 00 00 13 "
            "00 FF 58 04 04 02 18 08 00 FF 51 03 07 A1 20 00 FF 2F 00");
}

TEST_F(OutputTest, TimeSettingsOfAMidiSource) {
  engine::TimeSettings& time = state->settings.time;
  time.clicks_semic = 30;  // division 122 read back as 4 * (122 / 4)
  time.clicks_parte = 120;
  time.compas_num = 6;
  time.compas_den = 8;
  time.den_exponent = 3;
  time.tempo = 90;
  set({note(16, 2, 10, 200, 70, 64), note(1, 1, 0, 720, 40, 80)});
  EXPECT_EQ(write(), "");
  EXPECT_EQ(state->engine.music.note_count, 4);
  EXPECT_EQ(test::midicsv("outar.mid"),
            "0, 0, Header, 0, 1, 120\n"
            "1, 0, Start_track\n"
            "1, 0, Time_signature, 6, 3, 24, 8\n"
            "1, 0, Tempo, 666666\n"
            "1, 0, Note_on_c, 0, 40, 80\n"
            "1, 720, Note_on_c, 0, 40, 0\n"
            "1, 730, Note_on_c, 15, 70, 64\n"
            "1, 930, Note_on_c, 15, 70, 0\n"
            "1, 930, End_track\n"
            "0, 0, End_of_file\n");
}

TEST_F(OutputTest, NegativeDurationEndsAtTheOnset) {
  set({note(1, 1, 100, -50, 60), note(2, 1, 0, 300, 62)});
  EXPECT_EQ(write(), "");
  const std::string csv = test::midicsv("outar.mid");
  EXPECT_EQ(csv.substr(csv.find("Tempo, 500000\n") + 14),
            "1, 0, Note_on_c, 1, 62, 100\n"
            "1, 100, Note_on_c, 0, 60, 0\n"
            "1, 100, Note_on_c, 0, 60, 100\n"
            "1, 300, Note_on_c, 1, 62, 0\n"
            "1, 300, End_track\n"
            "0, 0, End_of_file\n");
}

TEST_F(OutputTest, LongDeltaUsesAFourByteQuantity) {
  set({note(1, 1000, 0, 10, 60)});
  EXPECT_EQ(write(), "");
  EXPECT_NE(test::midicsv("outar.mid").find("1, 4091904, Note_on_c, 0, 60, 100\n"),
            std::string::npos);
}

TEST_F(OutputTest, MoreThan15000NotesAreRefused) {
  for (int32_t i = 0; i <= engine::kMaxMusicNotes / 2; ++i) {
    state->engine.music.notes[i] = note(1, 1, i, 1, 60);
  }
  state->engine.music.note_count = engine::kMaxMusicNotes / 2 + 1;
  EXPECT_EQ(write().rfind("\nError: the result has 15001 notes; a MIDI file of the harmonizer "
                          "holds at most 15000\n",
                          0),
            0u);
  EXPECT_EQ(state->engine.music.note_count, engine::kMaxMusicNotes / 2 + 1);
}

TEST_F(OutputTest, FileThatCannotBeCreated) {
  std::snprintf(state->output_name, kOutputNameSize, "%s", "no/such/folder/outar.mid");
  set({note(1, 1, 0, 10, 60)});
  EXPECT_EQ(write().rfind("\nError creating file no/such/folder/outar.mid\n", 0), 0u);
}

TEST_F(OutputTest, FileThatCannotBeFullyWritten) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::snprintf(state->output_name, kOutputNameSize, "%s", "/dev/full");
  set({note(1, 1, 0, 10, 60)});
  EXPECT_EQ(write().rfind("\nError writing file /dev/full\n", 0), 0u);
}

TEST_F(OutputTest, TempoOfZeroIsRefused) {
  state->settings.time.tempo = 0;
  EXPECT_EQ(write().rfind("\nError: the tempo is 0; it must be greater than 0\n", 0), 0u);
}

}  // namespace
}  // namespace zelvo::harmonizer
