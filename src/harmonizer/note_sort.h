#pragma once

#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// Computes the note time table for the records in use ((Cpin - 1) *
// compas-num * clicks-parte + Ckin, kept to 32 bits) and sorts records and
// times together with the system's exchange sort: ordered by time, and at
// equal times every velocity-0 record first. Quadratic and in place.
void sort_notes(HarmonizerState& state);

}  // namespace zelvo::harmonizer
