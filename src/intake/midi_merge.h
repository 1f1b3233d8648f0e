#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "midi/codec.h"
#include "midi/song.h"

namespace zelvo::intake {

enum class MidiMerge {
  kNotFormat1,   // left as it is: format 0 (or anything else) reads as before
  kMerged,
  kSmpte,        // the division counts SMPTE frames
  kDamaged,      // a chunk or an event runs past the file's end, or is not MIDI
};

// A format 1 Standard MIDI File made into the one track of a format 0
// file, as the harmonizer's MIDI reader takes it (read_midi_events of a
// song reads it as if it were written in the merged layout): one track
// starting with one time signature and one tempo (those in force at tick 0,
// else 4/4 and 120), then every channel event of every track in time order
// (at equal times, track by track, each in its order), each with its own
// status byte; every later change of time signature or tempo and every key
// signature go in where they happen, before the channel events of their
// tick. Other meta events and system exclusive messages are left out.
// `any_merges` tells too whether merge_any_midi would merge the file, from
// the same one reading of it.
MidiMerge merge_midi_tracks(std::string_view bytes, midi::Song& merged, bool& any_merges);

// The same for a format 0 file as well (a file in that form comes out of it
// whatever it held); kNotFormat1 for format 2, kDamaged for no MIDI file.
MidiMerge merge_any_midi(std::string_view bytes, std::string& format0);
// The same, the one track left unwritten, for a reader in this program.
MidiMerge merge_any_midi(std::string_view bytes, midi::Song& merged);
// The same from `song`, which the caller parsed from `bytes` (into `read`)
// accepting at least the departures the merge accepts, for ends of its own:
// when it met no other departure, the merge's own reading would give the
// same song, and `song` is merged (its memory is taken); otherwise `bytes`
// are read again as the merge reads them. Either way the answer and
// `merged` are merge_any_midi's.
MidiMerge merge_parsed_midi(std::string_view bytes, midi::Song& song, const midi::ParseResult& read,
                            midi::Song& merged);

}  // namespace zelvo::intake
