#pragma once

#include <cstdint>

#include "base/status.h"
#include "engine/debug_listener.h"
#include "engine/model.h"
#include "base/progress_lines.h"
#include "engine/progress_observer.h"
#include "engine/settings.h"

namespace zelvo::engine {

// The engine's single entry. Cuts the music note table into harmonic units,
// harmonizes them line by line with look-ahead and writes the result into
// the music note table from index 0: one record per note of every line, in
// unit, line and note order, with the chosen pitch in Note. Notes of
// instruments outside 1-15 belong to no line, so the result can be shorter
// than the music; the note count is set to the result's length.
// REQUIRES: the music note table sorted by time, the chord and scale tables
// built. Returns the failure when a line cannot be harmonized or a capacity
// is exceeded (engine_messages.h says whether a pending Stop wins over it);
// the progress lines go to `lines`, whose check_stop may end the job by
// unwinding. `listener` may be null; it is called only when settings.Debug
// is not 0. `progress` may be null.
base::Status harmonize_units(EngineState& state, const HarmonizerSettings& settings, base::ProgressLines& lines,
                                DebugListener* listener, ProgressObserver* progress = nullptr);

}  // namespace zelvo::engine
