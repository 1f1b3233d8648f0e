#pragma once

#include <string>

#include "check/finding.h"
#include "console/job_console.h"
#include "console/score_opener.h"

namespace zelvo::check {

// Harmony that ends before the music (files of the work folder `folder`): the chord parts of inarm.xml end in
// an earlier bar than the music the configuration names, so the last chord
// and scale silently hold to the end. Reads with the harmonizer's own
// readers; a music source that does not exist yet (outco.rur before the
// first Compose) is not a mistake. Needs a readable configuration file.
// With `opener`, the scores are opened through it, the music first as the
// harmonize job does (a harmony file follows the music's pickup).
void check_harmony(const std::string& folder, console::JobConsole& scratch, int language, Findings& findings,
                   console::ScoreOpener* opener = nullptr);

}  // namespace zelvo::check
