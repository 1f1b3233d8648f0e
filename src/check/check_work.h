#pragma once

// `zelvo check` and Options > Check: every check of the work folder in the
// current directory, in the order composition, configuration, harmony.
// Reads the files with the jobs' own readers, runs no job and writes no file.
#include "check/finding.h"
#include "console/score_opener.h"

namespace zelvo::check {

// `opener` (optional) opens the scores as the jobs do, so that compressed
// scores, any layout and pickups are read as the harmonizer reads them.
Findings check_work(int language, console::ScoreOpener* opener = nullptr);

// Whether the current directory holds any file of a work: a folder without
// one has nothing to check.
bool has_work_files();

}  // namespace zelvo::check
