#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "notation/midi_notation.h"

namespace zelvo::notation {

// How the written notes are placed in time. kExact writes every tick as it
// sounds; the others place onsets and ends on a grid of sixteenths, eighth
// triplets or thirty-seconds; kChosen picks sixteenths or eighth triplets
// from the music (choose_grid).
enum class Grid { kChosen, kExact, kSixteenth, kEighthTriplet, kThirtySecond };

// "16", "8t", "32" or "exact"; false (grid untouched) for anything else.
bool parse_grid(std::string_view text, Grid& grid);

// Eighth triplets when more onsets lie nearer a third of a beat than a
// sixteenth (onsets on the beat count for neither), else sixteenths.
Grid choose_grid(const MidiNotes& midi);

// Notes placed on a grid, written in a division of their own.
struct GridNotes {
  MidiNotes midi;              // the notes in the order given, on the grid
  int64_t step = 1;            // the grid's step in the new division
  std::vector<bool> staccato;  // one a note: sounding half its written length or less
};

// REQUIRES: `grid` is kSixteenth, kEighthTriplet or kThirtySecond.
// Each bar keeps its length and the grid starts at every bar line. An onset
// goes to the nearest grid point; so does an end, except that a silence
// before the next onset of the channel (after its last note: the next bar
// line) is articulation, the note written up to that onset, when it is
// shorter than a step, or a step at most and no longer than the note's
// sounding length; a note overlapping the next onset by less than a step
// ends there. No note is shorter than a step. A key signature moves to the next bar line, a tempo to its nearest
// grid point. False when the notes need more than kMaxMeasures measures.
bool place_on_grid(const MidiNotes& midi, Grid grid, GridNotes& placed);

// The notes as MusicXML for `grid`: kExact as write_musicxml writes them,
// any other on the grid (kChosen: the one choose_grid picks) as
// write_readable_musicxml writes them. Empty when too long to write.
std::string write_notation(const MidiNotes& midi, const std::vector<std::string>& lyrics, Grid grid);

}  // namespace zelvo::notation
