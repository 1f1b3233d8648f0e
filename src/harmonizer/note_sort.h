#pragma once

#include <cstdint>

#include "engine/model.h"
#include "engine/settings.h"
#include "harmonizer/harmonizer_state.h"
#include "midi/time_sort.h"

namespace zelvo::harmonizer {

static_assert(engine::kMaxMusicNotes <= midi::kMaxSortRecords);

// Computes the time of each record in use ((Cpin - 1) * compas-num *
// clicks-parte + Ckin, kept to 32 bits) into `times` and sorts records and
// times together in the order of the system's exchange sort: by time, and
// at equal times every velocity-0 record first (midi::sort_times).
void sort_note_table(engine::MusicNoteTable& music, int32_t* times, const engine::TimeSettings& time,
                     midi::SortWork& work);

// sort_note_table on the music note table and the note time table.
void sort_notes(HarmonizerState& state);

}  // namespace zelvo::harmonizer
