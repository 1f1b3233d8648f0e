#pragma once

// The parts of the music that the harmonizer does not take: those outside
// FirstMusicIns..LastMusicIns of inmus.xml, outco.rur or inarm.xml (drums,
// a part left as it is; never the harmony parts of inarm.xml). outco.mid gives every channel to the harmonizer,
// so it has none. With KeepOtherParts they go into the result as read.
#include <cstdint>
#include <vector>

#include "base/progress_lines.h"
#include "base/status.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// REQUIRES: the harmony was read (FirstHarmIns resolved).
// Appends the other parts' notes to the music note table, after the
// harmonized ones, as the source holds them: channel, timing and velocity,
// never cut, no tone type. Says what is wrong with the source, or that the
// result would not fit the MIDI writer's table.
base::Status add_other_parts(HarmonizerState& state, base::ProgressLines& progress);

// The part (channel) numbers with notes outside FirstMusicIns..LastMusicIns,
// ascending, into `parts`.
base::Status find_other_parts(HarmonizerState& state, base::ProgressLines& progress,
                                 std::vector<int32_t>& parts);

}  // namespace zelvo::harmonizer
