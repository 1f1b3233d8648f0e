#pragma once

#include <string>

#include "check/finding.h"
#include "console/composition_opener.h"
#include "console/job_console.h"
#include "console/score_opener.h"

namespace zelvo::check {

// Probable mistakes of incom.htc (else incom.htm) in the work folder `folder`:
// tables whose first cell names no kind, configuration cells that are not
// plain numbers, bars, tempo or beats of 0 or less, sequence generators
// without a sequence file, variables never used, rows whose cells do not
// match their header, a `<` dropped as a tag, a composition that makes no
// notes. `opener` and `score_opener` (optional) read incom.htm and
// insec.xml as the composer reads them. Reads with the composer's
// own reader and compiler on `scratch` (a console nobody shows); writes
// nothing. No composition: no findings.
void check_composition(const std::string& folder, console::JobConsole& scratch, int language,
                       Findings& findings, console::CompositionOpener* opener = nullptr,
                       console::ScoreOpener* score_opener = nullptr);

}  // namespace zelvo::check
