#pragma once

#include <cstdint>

#include "base/progress_lines.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// Reads inarm.xml into the scale table (part FirstHarmIns) and the chord
// table (the next HarmInsNum - 1 parts). Resolves a negative FirstHarmIns to
// LastMusicIns + 1 for good. Leaves the music note table holding the chord
// notes, sorted. Says what is wrong with a file it cannot use; a stop
// request still ends the job.
base::Status read_harmony(HarmonizerState& state, base::ProgressLines& progress);

// The grouping rule: whether record i of the music note table ends a scale
// or chord (the next record starts a new one).
bool ends_group(const engine::MusicNoteTable& music, int32_t i);

// Marks of one pitch class in a chord or scale entry.
void mark_pitch_class(char* marks, int32_t note);
void mark_bass(char* marks, int32_t note);
void mark_top(char* marks, int32_t note);

}  // namespace zelvo::harmonizer
