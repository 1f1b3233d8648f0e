#pragma once

#include <string>

#include "console/composition_opener.h"
#include "console/job_console.h"
#include "console/score_opener.h"

namespace zelvo::check {

// Whether the composition in the current directory generates any note: the
// composer's own run (tables, timing, sequences, every bar) in memory, its
// files not written. Progress goes to `scratch`; the first error comes back
// unprinted.
base::Status composition_makes_notes(const std::string& folder, console::JobConsole& scratch,
                                        console::CompositionOpener* opener, console::ScoreOpener* score_opener,
                                        bool& makes_notes);

}  // namespace zelvo::check
