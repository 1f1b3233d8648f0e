#pragma once

#include <cstdint>
#include <vector>

namespace zelvo::notation {

struct NoteValue {
  const char* type;  // nullptr: a measure rest
  int dots;
  int64_t ticks;
  bool triplet = false;  // three in the time of two: `ticks` is 2/3 of the type's
};

// The written values a length can be made of, longest first: plain, dotted
// and double-dotted note types down to the shortest that divides `quarter`
// (ticks a quarter note), none made of a part shorter than `shortest`.
std::vector<NoteValue> note_values(int64_t quarter, int64_t shortest = 0);

// Splits a length starting at tick `start` into written values. Lengths off
// the grid of the shortest plain value (the composer writes notes of 11/12
// of a quarter note) are made exact with triplet values where the shortest
// value divides by 3: first those that bring the start back onto the grid,
// then plain values, then those for the end; so a note's end and the next
// note's or rest's start make whole triplets. `measure_start` is -1 for a
// note, the start of the measure for a rest.
std::vector<NoteValue> split_length(int64_t start, int64_t length, const std::vector<NoteValue>& values,
                                    int64_t measure_start = -1);

}  // namespace zelvo::notation
