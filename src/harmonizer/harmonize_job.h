#pragma once

#include "console/job_console.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// The Harmonize job: reads conar, the music and inarm.xml, harmonizes and
// writes outar.mid, all in state.work_folder.
void harmonize(HarmonizerState& state, console::JobConsole& console);

}  // namespace zelvo::harmonizer
