#include <gtest/gtest.h>

#include <string>

#include "intake/midi_merge.h"
#include "notation/midi_notation.h"

namespace {

using namespace zelvo::notation;
using namespace zelvo::intake;

std::string be(uint32_t value, int count) {
  std::string out;
  for (int i = count - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string header(int format, int tracks, int division) {
  return "MThd" + be(6, 4) + be(static_cast<uint32_t>(format), 2) +
         be(static_cast<uint32_t>(tracks), 2) + be(static_cast<uint32_t>(division), 2);
}

std::string track(const std::string& events) { return "MTrk" + be(static_cast<uint32_t>(events.size()), 4) + events; }

const std::string kEnd("\x00\xFF\x2F\x00", 4);

// A conductor track with 3/4 and 100 beats a minute, and two note tracks
// whose events meet at tick 96; the second uses running status.
std::string format1() {
  const std::string conductor = std::string("\x00\xFF\x58\x04\x03\x02\x18\x08", 8) +
                                std::string("\x00\xFF\x51\x03\x09\x27\xC0", 7) + kEnd;
  const std::string first = std::string("\x00\x90\x3C\x50\x60\x80\x3C\x00", 8) + kEnd;
  const std::string second = std::string("\x60\x91\x40\x50\x30\x40\x00", 7) +
                             std::string("\x00\xFF\x01\x81\x00", 5) + std::string(128, 'x') + kEnd;
  return header(1, 3, 96) + track(conductor) + track(first) + track(second);
}

TEST(MidiMerge, Format1BecomesOneTrackInTimeOrder) {
  std::string merged;
  ASSERT_EQ(merge_midi_tracks(format1(), merged), MidiMerge::kMerged);
  const std::string events = std::string("\x00\xFF\x58\x04\x03\x02\x18\x08", 8) +
                             std::string("\x00\xFF\x51\x03\x09\x27\xC0", 7) +
                             std::string("\x00\x90\x3C\x50", 4) +   // track 2 at 0
                             std::string("\x60\x80\x3C\x00", 4) +   // track 2 at 96
                             std::string("\x00\x91\x40\x50", 4) +   // track 3 at 96
                             std::string("\x30\x91\x40\x00", 4) + kEnd;  // running status spelled out
  EXPECT_EQ(merged, header(0, 1, 96) + track(events));
}

// Later tempos go in where they happen (one a tick, the last; none that
// repeats the tempo in force); one before the first note takes a two-byte
// delta, so that it is not read as a leading event.
TEST(MidiMerge, LaterTemposAreKept) {
  const std::string tempos = std::string("\x00\xFF\x51\x03\x09\x27\xC0", 7) +
                             std::string("\x10\xFF\x51\x03\x07\xA1\x20", 7) +
                             std::string("\x50\xFF\x51\x03\x0F\x42\x40", 7) +
                             std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) +
                             std::string("\x60\xFF\x51\x03\x07\xA1\x20", 7) + kEnd;
  const std::string notes = std::string("\x20\x90\x3C\x50\x81\x40\x80\x3C\x00", 9) + kEnd;
  std::string merged;
  ASSERT_EQ(merge_midi_tracks(header(1, 2, 96) + track(tempos) + track(notes), merged), MidiMerge::kMerged);
  const std::string events = std::string("\x00\xFF\x58\x04\x04\x02\x18\x08", 8) +
                             std::string("\x00\xFF\x51\x03\x09\x27\xC0", 7) +
                             std::string("\x80\x10\xFF\x51\x03\x07\xA1\x20", 8) +
                             std::string("\x10\x90\x3C\x50", 4) +
                             std::string("\x81\x40\x80\x3C\x00", 5) + kEnd;
  EXPECT_EQ(merged, header(0, 1, 96) + track(events));
}

TEST(MidiMerge, RefusalsAndFilesLeftAsTheyAre) {
  std::string merged;
  const std::string format0 = header(0, 1, 96) + track(kEnd);
  EXPECT_EQ(merge_midi_tracks(format0, merged), MidiMerge::kNotFormat1);
  EXPECT_EQ(merge_midi_tracks(header(1, 1, 0xE728) + track(kEnd), merged), MidiMerge::kSmpte);
  EXPECT_EQ(merge_midi_tracks(format1().substr(0, 40), merged), MidiMerge::kDamaged);
}

// Every change of time signature (the repeated 4/4 left out) and every key
// signature goes in where it happens, before the notes of its tick.
TEST(MidiMerge, AnyMidiKeepsEveryTimeAndKeySignature) {
  const std::string meters = std::string("\x00\xFF\x58\x04\x04\x02\x18\x08", 8) +
                             std::string("\x00\xFF\x59\x02\xFD\x00", 6) +
                             std::string("\x60\xFF\x58\x04\x04\x02\x18\x08", 8) +
                             std::string("\x8B\x20\xFF\x58\x04\x03\x02\x18\x08", 9) + kEnd;
  const std::string notes = std::string("\x00\x90\x3C\x50\x8C\x00\x80\x3C\x00", 9) +
                            std::string("\x00\xFF\x59\x02\x02\x01", 6) + kEnd;
  std::string merged;
  ASSERT_EQ(merge_any_midi(header(1, 2, 96) + track(meters) + track(notes), merged), MidiMerge::kMerged);
  const std::string events = std::string("\x00\xFF\x58\x04\x04\x02\x18\x08", 8) +
                             std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) +
                             std::string("\x00\xFF\x59\x02\xFD\x00", 6) +
                             std::string("\x00\x90\x3C\x50", 4) +
                             std::string("\x8C\x00\xFF\x58\x04\x03\x02\x18\x08", 9) +
                             std::string("\x00\xFF\x59\x02\x02\x01", 6) +  // before the notes of its time
                             std::string("\x00\x80\x3C\x00", 4) + kEnd;
  EXPECT_EQ(merged, header(0, 1, 96) + track(events));
  const MidiNotes midi = read_midi_notes(merged);
  ASSERT_EQ(midi.meters.size(), 2u);
  EXPECT_EQ(midi.meters[1].tick, 1536);
  EXPECT_EQ(midi.meters[1].beats, 3);
  ASSERT_EQ(midi.keys.size(), 2u);
  EXPECT_EQ(midi.keys[0].key, (Key{-3, false}));
  EXPECT_EQ(midi.keys[1].key, (Key{2, true}));
  ASSERT_EQ(midi.notes.size(), 1u);
  EXPECT_EQ(midi.notes[0].length, 1536);
}

TEST(MidiNotation, TiesAcrossTheBarDotsRestsOnTheBeatAndAccidentals) {
  MidiNotes midi;
  midi.division = 4;
  midi.meters = {{0, 2, 4}};
  midi.keys = {{0, Key{-1, false}}};
  // A dotted quarter from the second eighth, over the bar line into bar 2.
  midi.notes.push_back(SoundingNote{0, 2, 8, 61});
  midi.notes.push_back(SoundingNote{1, 0, 8, 48});  // a second part, silent in bar 2
  const std::string xml = write_musicxml(midi, {"pa"});
  const auto count = [&](const std::string& what) {
    size_t n = 0;
    for (size_t at = xml.find(what); at != std::string::npos; at = xml.find(what, at + 1)) ++n;
    return n;
  };
  // The first eighth; in bar 2 an eighth and a quarter, on the beat; part 2
  // rests for the whole of bar 2.
  EXPECT_EQ(count("<rest/>"), 3u);
  EXPECT_EQ(count("<rest measure=\"yes\"/>"), 1u);
  EXPECT_EQ(count("<tie type=\"start\"/>"), 1u);
  EXPECT_EQ(count("<tie type=\"stop\"/>"), 1u);
  EXPECT_EQ(count("<step>D</step>"), 2u);   // 61 spelled D-flat in F major
  EXPECT_EQ(count("<alter>-1</alter>"), 2u);
  EXPECT_EQ(count("<accidental>flat</accidental>"), 1u);  // not again on the tied note
  EXPECT_EQ(count("<fifths>-1</fifths>"), 2u);  // once a part
  EXPECT_EQ(count("<dot/>"), 1u);  // the dotted quarter note in bar 1
  EXPECT_EQ(count("<text>pa</text>"), 1u);  // the lyric only under the first piece
  EXPECT_EQ(count("<measure number="), 4u);
}

}  // namespace
