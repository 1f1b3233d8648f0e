#pragma once

#include <cstdint>

#include "base/progress_lines.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// How far read_music prepares the table. The driver's first reading only
// reports the source's errors (its table is discarded by read_harmony), so
// it neither cuts at the previous run's harmony nor sorts.
enum class Preparation { kFull, kCheckOnly };

// Fills the music note table from the source that MusicSource names (0
// inmus.xml, 1 outco.rur, 2 inarm.xml, 3 outco.mid), parts FirstMusicIns to
// LastMusicIns; rejects empty music; with DivideNotes cuts the notes at the
// chord and then the scale boundaries; sorts. Says what is wrong with a
// source it cannot use; a stop request still ends the job.
base::Status read_music(HarmonizerState& state, base::ProgressLines& progress,
                Preparation preparation = Preparation::kFull);

// Reads the parts p with first <= p < first + count of the source that
// MusicSource names into `music`, setting `time` from it (outco.mid: every
// channel). Ends the step (base::stop_with) with what is wrong with it.
void read_source_parts(HarmonizerState& state, base::ProgressLines& progress, engine::MusicNoteTable& music,
                       engine::TimeSettings& time, int32_t first, int32_t count);

// Cuts every record that straddles a start of an entry of `table` into
// pieces, one boundary per visit; appended pieces are visited in turn. The
// head gets tie bit 0, the piece its head's flags with bit 1. False when the
// pieces would not fit the music note table (nothing is written beyond it).
bool cut_notes(engine::MusicNoteTable& music, const engine::HarmonyTable& table,
               const engine::TimeSettings& time);

}  // namespace zelvo::harmonizer
