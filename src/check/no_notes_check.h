#pragma once

#include "console/composition_opener.h"
#include "console/console.h"
#include "console/score_opener.h"

namespace zelvo::check {

// Whether the composition in the current directory generates any note: the
// composer's own run (tables, timing, sequences, every bar) in memory, its
// files not written. Messages go to `scratch`; an error ends the job.
bool composition_makes_notes(console::Console& scratch, console::CompositionOpener* opener,
                             console::ScoreOpener* score_opener);

}  // namespace zelvo::check
