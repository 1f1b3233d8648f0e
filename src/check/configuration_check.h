#pragma once

#include <string>

#include "check/finding.h"
#include "console/job_console.h"

namespace zelvo::check {

// Probable mistakes of conar.rur (else conar.txt) in the work folder `folder`:
// settings outside their useful range, tone-type switches other than 0 and
// 1, negative cost weights, a line the harmonizer refuses. The values are
// those the harmonizer's own reader takes; lines are counted from 1. No
// configuration file: no findings.
void check_configuration(const std::string& folder, console::JobConsole& scratch, int language,
                         Findings& findings);

}  // namespace zelvo::check
