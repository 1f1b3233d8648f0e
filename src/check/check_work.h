#pragma once

// `zelvo check` and Options > Check: every check of the work folder in the
// current directory, in the order composition, configuration, harmony.
// Reads the files with the jobs' own readers, runs no job and writes no file.
#include "check/finding.h"
#include "console/composition_opener.h"
#include "console/score_opener.h"

namespace zelvo::check {

// `opener` (optional) opens the scores as the jobs do, so that compressed
// scores, any layout and pickups are read as the harmonizer reads them.
// `composition_opener` (optional) reads incom.htm as Compose does, laid out
// first when an HTML editor wrote it.
Findings check_work(int language, console::ScoreOpener* opener = nullptr,
                    console::CompositionOpener* composition_opener = nullptr);

}  // namespace zelvo::check
