#pragma once

// The edge of a file job: a work folder's files into a JobInput, and a
// JobOutput's files back into the folder.
#include <string>

#include "jobs/job.h"

namespace zelvo::jobs {

// Every regular file directly in `folder` (empty: the current directory),
// which is every file a job may read there; a file that cannot be opened is
// left out. False, with `problem`, when the folder cannot be read.
bool read_work_inputs(const std::string& folder, Files& files, std::string& problem);

// Writes each of `files` into `folder`, each under a temporary name first
// and then renamed, so a reader never sees half a file; makes the
// subfolders they name. False, with `problem`, at the first that fails.
bool write_work_outputs(const std::string& folder, const Files& files, std::string& problem);

}  // namespace zelvo::jobs
