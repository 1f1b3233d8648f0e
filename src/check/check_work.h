#pragma once

// `zelvo check` and Options > Check: every check of the work folder in the
// current directory, in the order composition, configuration, harmony.
// Reads the files with the jobs' own readers, runs no job and writes no file.
#include "check/finding.h"

namespace zelvo::check {

Findings check_work(int language);

}  // namespace zelvo::check
