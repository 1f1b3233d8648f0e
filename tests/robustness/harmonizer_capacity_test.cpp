// Every table of the harmonizer fed just over its capacity: music notes
// (read, cut into pieces, doubled by the note-offs), chord and scale
// entries, lines per unit and notes per line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/model.h"
#include "harmonizer/harmonizer_messages.h"
#include "harmonizer/midi_reader.h"
#include "harmonizer/music.h"
#include "harmonizer/output.h"
#include "robustness_support.h"

namespace zelvo::robustness {
namespace {

using console::JobKind;
using console::JobOutcome;

// Music from `source` in parts 1 to 15; the demo's harmony, parts 4 and 5,
// unless the test writes its own harmony in parts 16 and 17.
std::string configuration(int32_t source, bool demo_harmony, int32_t unit_limit = 100) {
  return format(
      "MusicSource = %d\nFirstMusicIns = 1\nLastMusicIns = 15\nFirstHarmIns = %d\nHarmInsNum = 2\n"
      "DivideNotes = 1\nHarmUnitNoteLimit = %d\nMelIns = -2\nBassIns = -1\n",
      source, demo_harmony ? 4 : 16, unit_limit);
}

// `count` quarter notes of part 1 (C4 to B4, cycling) from measure 1.
std::vector<XmlNote> quarter_notes(int32_t count) {
  static const char* const kSteps[7] = {"C", "D", "E", "F", "G", "A", "B"};
  std::vector<XmlNote> notes;
  for (int32_t i = 0; i < count; ++i) notes.push_back({1 + i / 4, kSteps[i % 7], 4, 1});
  return notes;
}

// One whole-note entry per measure: a C major triad, or the seven steps of
// the scale.
std::vector<XmlNote> entries(int32_t measures, bool scale) {
  static const char* const kSteps[7] = {"C", "D", "E", "F", "G", "A", "B"};
  std::vector<XmlNote> notes;
  for (int32_t m = 1; m <= measures; ++m) {
    for (int32_t s = 0; s < 7; s += scale ? 1 : 2) notes.push_back({m, kSteps[s], 4, 4, s > 0});
  }
  return notes;
}

TEST(HarmonizerCapacity, MusicXmlNotes) {
  WorkFolder folder;
  const std::string music = musicxml({quarter_notes(engine::kMaxMusicNotes + 1)});
  expect_refused(
      JobKind::kHarmonize,
      [&] {
        write_file("conar.rur", configuration(0, true));
        copy_demo("inarm.xml", "inarm.xml");
        write_file("inmus.xml", music);
      },
      harmonizer::kTooManyNotes, "inmus.xml");
}

TEST(HarmonizerCapacity, ListingNotes) {
  WorkFolder folder;
  std::vector<ListedNote> notes;
  for (int32_t i = 0; i <= engine::kMaxMusicNotes; ++i) notes.push_back({1 + i % 3, 1 + i / 16, (i % 16) * 12, 12, 60});
  const std::string music = listing(notes);
  expect_refused(
      JobKind::kHarmonize,
      [&] {
        write_file("conar.rur", configuration(1, true));
        copy_demo("inarm.xml", "inarm.xml");
        write_file("outco.rur", music);
      },
      harmonizer::kTooManyNotes, "outco.rur");
}

// Format 0, division 48, 4/4, then `notes` sixteenths on channel 1.
std::string midi_file(int32_t notes) {
  std::string track = std::string("\x00\xFF\x58\x04\x04\x02\x18\x08", 8) + std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7);
  for (int32_t i = 0; i < notes; ++i) {
    track += std::string("\x00\x90\x3C\x50", 4);
    track += std::string("\x0C\x90\x3C\x00", 4);
  }
  track += std::string("\x00\xFF\x2F\x00", 4);
  const auto size = static_cast<uint32_t>(track.size());
  std::string header("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x30MTrk", 18);
  for (int32_t shift = 24; shift >= 0; shift -= 8) header += static_cast<char>((size >> shift) & 0xFF);
  return header + track;
}

// The MIDI reader takes at most 29998 notes and leaves the rest.
TEST(HarmonizerCapacity, MidiNotes) {
  WorkFolder folder;
  write_file("outco.mid", midi_file(engine::kMaxMusicNotes + 5));
  auto state = std::make_unique<harmonizer::HarmonizerState>();
  state->settings.MusicSource = 3;
  state->settings.FirstMusicIns = 1;
  state->settings.LastMusicIns = 15;
  console::Console console;
  bool ended = false;
  try {
    harmonizer::read_music(*state, console, harmonizer::Preparation::kCheckOnly);
  } catch (const console::JobEnded&) {
    ended = true;
  }
  EXPECT_FALSE(ended) << console.contents();
  EXPECT_EQ(state->engine.music.note_count, harmonizer::kMaxMidiNotes);
  EXPECT_EQ(state->engine.music.notes[harmonizer::kMaxMidiNotes - 1].Dur, 12);
}

// 100 notes of 400 bars each cut at 400 chord changes: 40000 pieces.
TEST(HarmonizerCapacity, CutPieces) {
  WorkFolder folder;
  std::vector<ListedNote> notes;
  for (int32_t i = 0; i < 100; ++i) notes.push_back({1 + i % 15, 1, 0, 400 * 192, 48 + i % 40});
  const std::string music = listing(notes);
  const std::string harmony = musicxml({entries(1, true), entries(400, false)}, 0, 16);
  expect_refused(
      JobKind::kHarmonize,
      [&] {
        write_file("conar.rur", configuration(1, false));
        write_file("inarm.xml", harmony);
        write_file("outco.rur", music);
      },
      harmonizer::kTooManyPieces);
}

TEST(HarmonizerCapacity, ChordAndScaleEntries) {
  WorkFolder folder;
  const std::string music = listing({{1, 1, 0, 192, 60}});
  const std::string too_many_chords = musicxml({entries(1, true), entries(engine::kMaxHarmonyEntries + 1, false)}, 0, 16);
  expect_refused(
      JobKind::kHarmonize,
      [&] {
        write_file("conar.rur", configuration(1, false));
        write_file("inarm.xml", too_many_chords);
        write_file("outco.rur", music);
      },
      harmonizer::kTooManyChords, "inarm.xml");
  const std::string too_many_scales = musicxml({entries(engine::kMaxHarmonyEntries + 1, true), entries(1, false)}, 0, 16);
  expect_refused(
      JobKind::kHarmonize,
      [&] {
        write_file("conar.rur", configuration(1, false));
        write_file("inarm.xml", too_many_scales);
        write_file("outco.rur", music);
      },
      harmonizer::kTooManyScales, "inarm.xml");

  // 500 of each fit.
  write_file("conar.rur", configuration(1, false));
  write_file("inarm.xml", musicxml({entries(engine::kMaxHarmonyEntries, true), entries(engine::kMaxHarmonyEntries, false)}, 0, 16));
  write_file("outco.rur", music);
  Jobs jobs;
  EXPECT_EQ(jobs.run(JobKind::kHarmonize), JobOutcome::kFinished) << jobs.output();
}

// Fifteen instruments, each sounding fourteen notes at once: 210 lines.
TEST(HarmonizerCapacity, LinesPerUnit) {
  WorkFolder folder;
  std::vector<ListedNote> notes;
  for (int32_t inst = 1; inst <= 15; ++inst) {
    for (int32_t k = 0; k < 14; ++k) notes.push_back({inst, 1, 0, 192, 36 + k * 4});
  }
  const std::string music = listing(notes);
  expect_refused(
      JobKind::kHarmonize,
      [&] {
        write_file("conar.rur", configuration(1, true));
        copy_demo("inarm.xml", "inarm.xml");
        write_file("outco.rur", music);
      },
      engine::kTooManyLines, 1);
}

// One instrument playing 150 sixteenths in a row, with a unit limit far
// above the 100 notes a line holds: the unit is cut, every note harmonized.
TEST(HarmonizerCapacity, NotesPerLine) {
  WorkFolder folder;
  std::vector<ListedNote> notes;
  static const int32_t kScale[4] = {60, 62, 64, 67};
  for (int32_t i = 0; i < 150; ++i) notes.push_back({1, 1 + i / 16, (i % 16) * 12, 12, kScale[i % 4]});
  write_file("conar.rur", configuration(1, true, 1000));
  copy_demo("inarm.xml", "inarm.xml");
  write_file("outco.rur", listing(notes));
  Jobs jobs;
  ASSERT_EQ(jobs.run(JobKind::kHarmonize), JobOutcome::kFinished) << jobs.output();
  const std::string midi = read_file("outar.mid");
  int32_t note_ons = 0;
  for (size_t i = 0; i + 2 < midi.size(); ++i) {
    if (static_cast<uint8_t>(midi[i]) == 0x90 && midi[i + 2] != 0) ++note_ons;
  }
  EXPECT_EQ(note_ons, 150);
}

// The result doubled by its note-offs must fit the 30000 records.
TEST(HarmonizerCapacity, ResultNotesForTheMidiFile) {
  WorkFolder folder;
  auto state = std::make_unique<harmonizer::HarmonizerState>();
  engine::MusicNoteTable& music = state->engine.music;
  music.note_count = engine::kMaxMusicNotes / 2 + 1;
  for (int32_t i = 0; i < music.note_count; ++i) {
    music.notes[i] = engine::MusicNote{};
    music.notes[i].Inst = 1;
    music.notes[i].Cpin = 1 + i / 16;
    music.notes[i].Ckin = (i % 16) * 64;
    music.notes[i].Dur = 64;
    music.notes[i].Note = 60;
    music.notes[i].Vel = 90;
  }
  console::Console console;
  bool aborted = false;
  try {
    harmonizer::write_harmony_midi(*state, console);
  } catch (const console::JobEnded& ended) {
    aborted = ended.outcome == console::JobOutcome::kAborted;
  }
  EXPECT_TRUE(aborted);
  EXPECT_NE(console.contents().find(format(harmonizer::kTooManyResultNotes.english, engine::kMaxMusicNotes / 2 + 1)),
            std::string::npos);
  EXPECT_FALSE(exists("outar.mid"));
}

}  // namespace
}  // namespace zelvo::robustness
