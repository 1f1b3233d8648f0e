#pragma once

#include <cstdint>
#include <vector>

#include "notation/midi_notation.h"

namespace zelvo::notation {

// A written measure: where it lies in ticks, its time signature and key,
// and whether they are written at its start.
struct Measure {
  int64_t start;
  int64_t length;
  int beats;
  int beat_type;
  Key key;
  bool time_shown;
  bool key_shown;
};

// The measures that hold the notes up to tick `end` (at least one): each as
// long as its time signature's bar, except that a time signature starting
// off the bar line of the one before ends the measure there. A measure's key
// is the last key signature before its end (the first holds from the start,
// C major when there is none); the first measure shows both. False when
// more than kMaxMeasures are needed.
bool lay_out_measures(const MidiNotes& midi, int64_t end, std::vector<Measure>& measures);

}  // namespace zelvo::notation
