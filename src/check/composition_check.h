#pragma once

#include <string>

#include "check/finding.h"
#include "console/console.h"

namespace zelvo::check {

// Probable mistakes of incom.htc (else incom.htm) in the work folder `folder`:
// tables whose first cell names no kind, configuration cells that are not
// plain numbers, bars, tempo or beats of 0 or less, sequence generators
// without a sequence file, variables never used. Reads with the composer's
// own reader and compiler on `scratch` (a console nobody shows); writes
// nothing. No composition: no findings.
void check_composition(const std::string& folder, console::Console& scratch, int language,
                       Findings& findings);

}  // namespace zelvo::check
