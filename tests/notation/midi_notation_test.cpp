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
// division and a file cut short. The last goes through merge_any_midi, which
// keeps every change of time signature (the repeated 4/4 left out) and every
// key signature where it happens, before the notes of its tick, and is read
// back as the notation reads it.
TEST(MidiMerge, EveryCaseMergesAsRecorded) {
  zelvo::test::check_cases(zelvo::test::test_data("notation/merge_cases.txt"), [](const zelvo::test::Case& c) {
    std::string merged;
    const bool any = c.call.at(0) == "any";
    const MidiMerge result = (any ? merge_any_midi : merge_midi_tracks)(c.files.at(0).second, merged);
    std::string got = std::string(merge_name(result)) + "\n" + (result == MidiMerge::kMerged ? zelvo::test::midi_dump(merged) : "");
    if (!any) return got;
    const MidiNotes midi = read_midi_notes(merged);  // as the notation reads it back
    for (const TimeSignature& t : midi.meters) got += "meter at " + std::to_string(t.tick) + " " + std::to_string(t.beats) + "/" + std::to_string(t.beat_type) + "\n";
    for (const KeySignature& k : midi.keys) got += "key at " + std::to_string(k.tick) + " fifths " + std::to_string(k.key.fifths) + (k.key.minor ? " minor\n" : " major\n");
    for (const SoundingNote& n : midi.notes) got += "note " + std::to_string(n.pitch) + " from " + std::to_string(n.start) + " for " + std::to_string(n.length) + "\n";
    return got;
  });
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
