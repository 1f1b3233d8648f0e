#include <gtest/gtest.h>

#include <string>

#include "intake/midi_merge.h"
#include "notation/midi_notation.h"
#include "support/cases.h"
#include "support/midi_dump.h"

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

const char* merge_name(MidiMerge result) {
  constexpr const char* kNames[] = {"not-format-1", "merged", "smpte", "damaged"};
  return kNames[static_cast<size_t>(result)];
}

// Format 1 files merged into one track in time order, the cases of
// data/notation/merge_cases.txt: the answer and, when merged, the merged
// file one chunk header or event a line. The first case has a conductor
// track with 3/4 and 100 beats a minute, and two note tracks whose events
// meet at tick 96, the second with running status and a long text; the
// second has later tempos (one a tick, the last; none that repeats the tempo
// in force; one before the first note takes a two-byte delta, so that it is
// not read as a leading event); then a format 0 file left as it is, an SMPTE
// division and a file cut short.
TEST(MidiMerge, EveryCaseMergesAsRecorded) {
  zelvo::test::check_cases(zelvo::test::test_data("notation/merge_cases.txt"), [](const zelvo::test::Case& c) {
    std::string merged;
    const MidiMerge result = merge_midi_tracks(c.files.at(0).second, merged);
    return std::string(merge_name(result)) + "\n" + (result == MidiMerge::kMerged ? zelvo::test::midi_dump(merged) : "");
  });
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
