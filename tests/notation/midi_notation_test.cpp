#include <gtest/gtest.h>

#include <string>

#include "intake/midi_merge.h"
#include "midi/write.h"
#include "notation/midi_notation.h"
#include "support/cases.h"
#include "support/midi_dump.h"

namespace {

using namespace zelvo::notation;
using namespace zelvo::intake;

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
    bool any_merges = false;
    const bool any = c.call.at(0) == "any";
    const std::string& file = c.files.at(0).second;
    zelvo::midi::Song one_track;
    const MidiMerge result = any ? merge_any_midi(file, merged) : merge_midi_tracks(file, one_track, any_merges);
    // The track as the harmonizer reads it: written in the merged layout.
    if (!any && result == MidiMerge::kMerged) (void)zelvo::midi::write(one_track, zelvo::midi::kMergedLayout, merged);
    std::string got = std::string(merge_name(result)) + "\n" + (result == MidiMerge::kMerged ? zelvo::test::midi_dump(merged) : "");
    if (!any) return got;
    const MidiNotes midi = read_midi_notes(merged);  // as the notation reads it back
    for (const TimeSignature& t : midi.meters) got += "meter at " + std::to_string(t.tick) + " " + std::to_string(t.beats) + "/" + std::to_string(t.beat_type) + "\n";
    for (const KeySignature& k : midi.keys) got += "key at " + std::to_string(k.tick) + " fifths " + std::to_string(k.key.fifths) + (k.key.minor ? " minor\n" : " major\n");
    for (const SoundingNote& n : midi.notes) got += "note " + std::to_string(n.pitch) + " from " + std::to_string(n.start) + " for " + std::to_string(n.length) + "\n";
    return got;
  });
}

}  // namespace
