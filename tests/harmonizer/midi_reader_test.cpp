#include "harmonizer/midi_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "harmonizer_test_util.h"

namespace zelvo::harmonizer {
namespace {

using test::show;
using test::WorkFolder;
using test::write_file;

// A format 0 file as the composer writes it: header, time signature, tempo,
// `events`, end of track (unless `end` is empty), with the track length
// patched.
std::string midi(int division, int num, int exponent, int micros, const std::string& events,
                 const std::string& end = std::string("\x00\xFF\x2F\x00", 4),
                 int format = 0) {
  std::string track;
  track += std::string("\x00\xFF\x58\x04", 4);
  track += static_cast<char>(num);
  track += static_cast<char>(exponent);
  track += "\x18\x08";
  track += std::string("\x00\xFF\x51\x03", 4);
  track += static_cast<char>(micros >> 16);
  track += static_cast<char>(micros >> 8);
  track += static_cast<char>(micros);
  track += events + end;
  std::string file("MThd\x00\x00\x00\x06\x00", 9);
  file += static_cast<char>(format);
  file += std::string("\x00\x01", 2);
  file += static_cast<char>(division >> 8);
  file += static_cast<char>(division);
  file += "MTrk";
  const size_t n = track.size();
  file += static_cast<char>(n >> 24);
  file += static_cast<char>(n >> 16);
  file += static_cast<char>(n >> 8);
  file += static_cast<char>(n);
  return file + track;
}

std::string bytes(std::initializer_list<int> values) {
  std::string text;
  for (int v : values) text += static_cast<char>(v);
  return text;
}

class MidiReaderTest : public ::testing::Test {
 protected:
  MidiResult read(const std::string& file) {
    write_file("outco.mid", file);
    return read_midi(state->engine.music, state->settings.time, "outco.mid");
  }
  std::string records() { return show(state->engine.music); }

  WorkFolder folder;
  std::unique_ptr<HarmonizerState> state = test::make_state();
};

TEST_F(MidiReaderTest, ComposerFileInThreeFour) {
  // 60000000 / 90 = 666666 microseconds per beat.
  const std::string events = bytes({0x81, 0x10, 0x90, 60, 100,   // tick 144: bar 2, click 0
                                    0x30, 0x90, 60, 0});         // 48 later: closed
  EXPECT_EQ(read(midi(48, 3, 2, 666666, events)), MidiResult::kRead);
  const engine::TimeSettings& time = state->settings.time;
  EXPECT_EQ(time.clicks_semic, 12);
  EXPECT_EQ(time.clicks_parte, 48);
  EXPECT_EQ(time.compas_num, 3);
  EXPECT_EQ(time.compas_den, 4);
  EXPECT_EQ(time.den_exponent, 2);
  EXPECT_EQ(time.tempo, 90);
  EXPECT_EQ(records(), "1 2 0 48 60 100 0\n");
}

TEST_F(MidiReaderTest, SixEightHasHalfBeats) {
  const std::string events = bytes({0x81, 0x10, 0x92, 67, 80, 0x10, 0x82, 67, 0});
  EXPECT_EQ(read(midi(48, 6, 3, 500000, events)), MidiResult::kRead);
  EXPECT_EQ(state->settings.time.clicks_parte, 24);
  EXPECT_EQ(state->settings.time.compas_den, 8);
  EXPECT_EQ(records(), "3 2 0 16 67 80 0\n");  // a bar has 144 ticks
}

TEST_F(MidiReaderTest, ResultCodes) {
  EXPECT_EQ(read(""), MidiResult::kCannotOpen);
  EXPECT_EQ(read("MTh"), MidiResult::kCannotOpen);
  EXPECT_EQ(read_midi(state->engine.music, state->settings.time, "absent.mid"),
            MidiResult::kCannotOpen);
  EXPECT_EQ(read(std::string("RIFF\x00\x00\x00\x00RMID", 12)), MidiResult::kNotMidi);
  EXPECT_EQ(read(midi(48, 4, 2, 500000, "", std::string("\x00\xFF\x2F\x00", 4), 1)),
            MidiResult::kNotFormat0);
  // Truncated inside an event, inside a delta time, before the end of track.
  EXPECT_EQ(read(midi(48, 4, 2, 500000, bytes({0x00, 0x90, 60}), "")),
            MidiResult::kUnexpectedEnd);
  EXPECT_EQ(read(midi(48, 4, 2, 500000, bytes({0x00, 0x90, 60, 100, 0x81}), "")),
            MidiResult::kUnexpectedEnd);
  EXPECT_EQ(read(midi(48, 4, 2, 500000, bytes({0x00, 0x90, 60, 100}), "")),
            MidiResult::kUnexpectedEnd);
  EXPECT_EQ(read(midi(48, 4, 2, 500000, "").substr(0, 16)), MidiResult::kUnexpectedEnd);
}

TEST_F(MidiReaderTest, LeadingEventsMustBeTwo) {
  // A tempo only.
  std::string file = midi(48, 4, 2, 500000, bytes({0x00, 0x90, 60, 100}));
  file.erase(22, 8);
  EXPECT_EQ(read(file), MidiResult::kBarOrTempo);
  // Two tempo events count as two.
  std::string two_tempos = midi(48, 4, 2, 500000, bytes({0x00, 0x90, 60, 100}));
  two_tempos.replace(22, 8, bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00}));
  two_tempos.erase(29, 1);
  EXPECT_EQ(read(two_tempos), MidiResult::kRead);
  EXPECT_EQ(state->settings.time.tempo, 120);
}

TEST_F(MidiReaderTest, OtherLeadingMetasAreSkipped) {
  std::string file = midi(96, 4, 2, 500000, bytes({0x00, 0x91, 62, 70, 0x60, 0x91, 62, 0}));
  // A track name before the time signature, with a length read as a
  // variable-length quantity (130 bytes).
  file.insert(22, bytes({0x00, 0xFF, 0x03, 0x81, 0x02}) + std::string(130, 'n'));
  EXPECT_EQ(read(file), MidiResult::kRead);
  EXPECT_EQ(records(), "2 1 0 96 62 70 0\n");
  EXPECT_EQ(state->settings.time.clicks_semic, 24);
}

TEST_F(MidiReaderTest, EmptyPieceEndsAmongTheLeadingEvents) {
  EXPECT_EQ(read(midi(48, 4, 2, 500000, "")), MidiResult::kRead);
  EXPECT_EQ(state->engine.music.note_count, 0);
}

TEST_F(MidiReaderTest, RunningStatusGivesSeveralNotes) {
  const std::string events = bytes({0x00, 0x90, 60, 100, 0x00, 64, 90, 0x00, 67, 80,
                                    0x30, 60, 0, 0x00, 64, 0, 0x00, 0x80, 67, 64});
  EXPECT_EQ(read(midi(48, 4, 2, 500000, events)), MidiResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 48 60 100 0\n"
            "1 1 0 48 64 90 0\n"
            "1 1 0 48 67 80 0\n");
}

TEST_F(MidiReaderTest, DataByteBeforeAnyStatusIsRefused) {
  EXPECT_EQ(read(midi(48, 4, 2, 500000, bytes({0x00, 60, 100}))), MidiResult::kNotMidi);
}

TEST_F(MidiReaderTest, NotePairing) {
  const std::string events = bytes({0x00, 0x90, 60, 100,   // first C
                                    0x10, 0x90, 60, 90,    // overlapping C
                                    0x10, 0x90, 60, 0,     // closes the first
                                    0x10, 0x80, 60, 0,     // closes the second
                                    0x00, 0x9F, 50, 10,    // channel 16, never closed
                                    0x00, 0x81, 61, 0});   // closes nothing
  EXPECT_EQ(read(midi(48, 4, 2, 500000, events)), MidiResult::kRead);
  EXPECT_EQ(records(),
            "1 1 0 32 60 100 0\n"
            "1 1 16 32 60 90 0\n"
            "16 1 48 0 50 10 0\n");
}

TEST_F(MidiReaderTest, OtherEventsAreSkipped) {
  const std::string events =
      bytes({0x00, 0xC0, 5,                 // program change: one data byte
             0x00, 0xB0, 7, 100,            // controller: two
             0x00, 0xF0, 1, 2, 3, 0xF7,     // system exclusive
             0x00, 0xFF, 0x01, 0x02, 'h', 'i',  // text meta
             0x00, 0x90, 60, 100, 0x18, 0x90, 60, 0});
  EXPECT_EQ(read(midi(48, 4, 2, 500000, events)), MidiResult::kRead);
  EXPECT_EQ(records(), "1 1 0 24 60 100 0\n");
}

TEST_F(MidiReaderTest, BarLengthOrTempoOfZeroIsRefused) {
  EXPECT_EQ(read(midi(48, 0, 2, 500000, "")), MidiResult::kBarOrTempo);
  EXPECT_EQ(read(midi(48, 4, 2, 0, "")), MidiResult::kBarOrTempo);
  EXPECT_EQ(read(midi(0, 4, 2, 500000, "")), MidiResult::kBarOrTempo);
}

TEST_F(MidiReaderTest, At29998NotesFurtherNoteOnsAreIgnored) {
  std::string events;
  for (int i = 0; i < kMaxMidiNotes + 5; ++i) events += bytes({0x01, 0x90, 60 + i % 12, 100});
  EXPECT_EQ(read(midi(48, 4, 2, 500000, events)), MidiResult::kRead);
  EXPECT_EQ(state->engine.music.note_count, kMaxMidiNotes);
}

}  // namespace
}  // namespace zelvo::harmonizer
