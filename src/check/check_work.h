#pragma once

// `zelvo check` and Options > Check: every check of a work folder, in the
// order composition, configuration, harmony.
// Reads the files with the jobs' own readers, runs no job and writes no file.
#include <string>

#include "check/finding.h"
#include "console/composition_opener.h"
#include "console/score_opener.h"

namespace zelvo::check {

// `opener` (optional) opens the scores as the jobs do, so that compressed
// scores, any layout and pickups are read as the harmonizer reads them.
// An empty `folder` is the current directory. `composition_opener`
// (optional) reads incom.htm as Compose does, laid out first when an HTML
// editor wrote it.
Findings check_work(const std::string& folder, int language, console::ScoreOpener* opener = nullptr,
                    console::CompositionOpener* composition_opener = nullptr);

// Whether the work folder `folder` (empty: the current directory) holds any
// file of a work: a folder without one has nothing to check.
bool has_work_files(const std::string& folder);

}  // namespace zelvo::check
